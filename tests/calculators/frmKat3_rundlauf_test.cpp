// Round trip: a table written by OK, saved, reopened by a fresh window through the selection
// dialog, read back into the same inputs and fee, and written again unchanged.

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

// Further formed parcels (row 10), a share of 250, classification entry.
using Fall = std::tuple<bool, bool, int>;

class AnlagenRundlauf : public AnlagenTest, public ::testing::WithParamInterface<Fall> {
  protected:
    // What the read-back restores: the fields, the combo box and the computed labels. The
    // rebuilt total is right-aligned where the typed one was left-aligned.
    static std::vector<std::string> zustand(frmKat3& f) {
        std::vector<std::string> z;
        for (const char* feld : {"grdAusFlur", "grdNeuFlur"}) z.push_back(f.textBox(feld).text());
        for (const char* feld :
             {"mskAusFlur", "mskNeuFlur", "mskNeuFlur51", "mskGP", "mskAGP", "mskBezug"})
            z.push_back(text(f, feld));
        z.push_back(std::to_string(Anzahl(text(f, "mskFlurstücke"))));
        z.push_back(f.combo("cmbKlassifizierung").text());
        z.push_back(std::to_string(f.combo("cmbKlassifizierung").listIndex()));
        for (const char* l : {"lblFaktor", "lblZwischen", "lblSumme"}) z.push_back(caption(f, l));
        return z;
    }
};

TEST_P(AnlagenRundlauf, ReadBackRestoresTheInputsAndOkWritesTheSameTable) {
    const auto& [weitere, anteil, klasse] = GetParam();
    frmKat3& f = anlagen();
    user::type(f, "grdAusFlur", "112/3, 112/4");
    user::type(f, "grdNeuFlur", "115/1 bis 115/9");
    beispiel(f, weitere ? "120" : "40");
    user::chooseListEntry(f, "cmbKlassifizierung", klasse);
    if (anteil) user::type(f, "mskBezug", "250,");
    rundlauf(f, 2, "TARVEX_3", zustand);
}

std::string fallName(const ::testing::TestParamInfo<Fall>& info) {
    const auto& [weitere, anteil, klasse] = info.param;
    return std::string(weitere ? "MitZeile10" : "OhneZeile10") +
           (anteil ? "_Anteil250" : "_OhneAnteil") + "_Klassifizierung" + std::to_string(klasse);
}

INSTANTIATE_TEST_SUITE_P(AlleFälle, AnlagenRundlauf,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(),
                                            ::testing::Range(0, 3)),
                         fallName);

// Four-digit counts and shares come back without the thousands point the number format gives
// them, which the fields of plain digits would refuse.
TEST_F(AnlagenTest, ThousandsComeBackIntoTheDigitFields) {
    frmKat3& f = anlagen();
    user::type(f, "mskFlurstücke", "1200");
    user::type(f, "mskBezug", "1500,");
    const std::string summe = caption(f, "lblSumme");
    user::click(f, "CommandEnde");
    frmKat3& wieder = anlagen(true);
    EXPECT_EQ(text(wieder, "mskFlurstücke"), "1200");
    EXPECT_EQ(text(wieder, "mskNeuFlur51"), "1150");
    EXPECT_EQ(text(wieder, "mskBezug"), "1500,00");
    EXPECT_EQ(caption(wieder, "lblSumme"), summe);
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

}  // namespace
}  // namespace tarvex::testing
