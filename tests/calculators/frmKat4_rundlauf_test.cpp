// Round trip of the Gebäudeaufnahme table: written by OK, saved, reopened by a fresh window
// through the selection dialog, read back, recomputed and written again unchanged.

#include <algorithm>

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

// Further groups (12 buildings, else 3), costs of one bracket, written as bracket text,
// share ("" for none).
using Fall = std::tuple<bool, std::string, bool, std::string>;

class GebaeudeRundlauf : public KalkulatorTest, public ::testing::WithParamInterface<Fall> {};

TEST_P(GebaeudeRundlauf, TableReadBackRestoresTheInputsAndTheFeeAndIsWrittenAgainUnchanged) {
    const auto& [weitere, kosten, bereich, anteil] = GetParam();
    frmKat4& f = laden<frmKat4>(1);
    user::type(f, "txtGebäude", "Wohnhaus mit Garage\nScheune, Stall");
    user::type(f, "mskAnzahl", weitere ? "12" : "3");
    user::type(f, "mskBaukosten", kosten);
    if (bereich) user::click(f, "chkBereich");
    if (!anteil.empty()) user::type(f, "mskBezug", anteil);

    // What the fee table keeps of the inputs, and the labels computed from them.
    const auto zustand = [&](frmKat4& w) {
        const std::string gelesen = w.masked("mskBaukosten").text();
        return std::vector<std::string>{
            w.textBox("txtGebäude").text(),
            std::to_string(führendeZahl(w.masked("mskAnzahl").text())),
            // A bracket comes back as its lowest cost: the same bracket, the same fee.
            bereich ? Baukostenbereich(führendeZahl(gelesen)).text : gelesen,
            std::to_string(w.checkBox("chkBereich").value()), w.masked("mskBezug").text(),
            w.masked("mskAnzahl30").text(), caption(w, "lblGebühr100"), caption(w, "lblGebühr30"),
            caption(w, "lblSumme30"), caption(w, "lblSumme")};
    };
    rundlauf(f, 1, "TARVEX_4", zustand);
}

std::string fallName(const ::testing::TestParamInfo<Fall>& fall) {
    const auto& [weitere, kosten, bereich, anteil] = fall.param;
    std::string name = (weitere ? "WeitereGruppen_" : "FuenfOderWeniger_") + kosten +
                       (bereich ? "_Bereichstext" : "_Betrag");
    if (!anteil.empty()) {
        std::string zahl = anteil;
        std::replace(zahl.begin(), zahl.end(), ',', '_');
        name += "_Anteil" + zahl;
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(AlleFaelle, GebaeudeRundlauf,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values("20000", "60000", "250000", "600000",
                                                              "1500000", "3000000", "7500000",
                                                              "12000000", "999999999"),
                                            ::testing::Bool(), ::testing::Values("", "999,99")),
                         fallName);

}  // namespace
}  // namespace tarvex::testing
