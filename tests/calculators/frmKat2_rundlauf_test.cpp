// Round trip: every combination of reduction, share, further parcels and Faktor A, written by
// OK into the invoice, saved, reopened by a freshly loaded window that reads the table back,
// and written again by OK.

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

// reduction, share of 500, further formed parcels (60 instead of 30), "G, sonstige
// Sondergebiete" (with a land value of 1500, whose thousands point the four-digit field drops).
using Fall = std::tuple<bool, bool, bool, bool>;

class BaulandRundlauf : public BaulandumlegungTest, public ::testing::WithParamInterface<Fall> {};

// What the user sees: every input, the factors and the amounts. Counts that come back
// right-aligned ("  60") are compared by their number.
std::vector<std::string> zustand(frmKat2& f) {
    std::vector<std::string> z;
    for (const char* feld : {"mskAusFlur", "mskNeuFlur", "mskGP", "mskAGP", "mskBezug"})
        z.push_back(f.masked(feld).text());
    for (const char* feld : {"mskGesamt", "mskNeuFlur51", "mskBoden"})
        z.push_back(std::to_string(Anzahl(f.masked(feld).text())));
    for (const char* liste : {"grdAusFlur", "grdNeuFlur"}) z.push_back(f.textBox(liste).text());
    z.push_back(std::to_string(f.checkBox("chkErmäßigung").value()));
    z.push_back(f.option("sevOption2").value() ? "G" : "W");
    for (const char* label :
         {"lblFaktor", "lblDichtefaktor", "lblNeuFlur51", "lblZwischen", "lblSumme"})
        z.push_back(f.label(label).caption());
    return z;
}

TEST_P(BaulandRundlauf, ReadBackRestoresTheInputsAndOkWritesTheSameTable) {
    const auto& [ermäßigung, anteil, weitere, sondergebiet] = GetParam();
    frmKat2& f = baulandumlegung();
    // Enter (13) ends a line of a list; each line becomes a paragraph of the cell.
    user::type(f, "grdAusFlur", "Flst. 12\rFlst. 13\rFlst. 14");
    user::type(f, "grdNeuFlur", "Flst. 100 bis 159");
    user::type(f, "mskAusFlur", "3");
    user::type(f, "mskGesamt", weitere ? "60" : "30");
    user::type(f, "mskGP", "20");
    user::type(f, "mskAGP", "12");
    user::type(f, "mskBoden", sondergebiet ? "1500" : "250");
    if (sondergebiet) user::click(f, "sevOption2");
    if (ermäßigung) user::click(f, "chkErmäßigung");
    if (anteil) user::type(f, "mskBezug", "500,");
    rundlauf(f, 3, "TARVEX_2", zustand);
}

std::string fallName(const ::testing::TestParamInfo<Fall>& info) {
    const auto& [ermäßigung, anteil, weitere, sondergebiet] = info.param;
    return std::string(ermäßigung ? "Ermaessigung" : "ohneErmaessigung") +
           (anteil ? "_Anteil500" : "_ganz") + (weitere ? "_weitereFlurstuecke" : "_bis50") +
           (sondergebiet ? "_Sondergebiete" : "_WMSO");
}

INSTANTIATE_TEST_SUITE_P(AlleFälle, BaulandRundlauf,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(), ::testing::Bool(),
                                            ::testing::Bool()),
                         fallName);

}  // namespace
}  // namespace tarvex::testing
