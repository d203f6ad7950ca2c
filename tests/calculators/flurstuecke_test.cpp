// The split of the formed parcels at fifty that Zerlegung, Baulandumlegung and Lang gestreckte
// Anlagen share: a total typed into each window's total field fills the two count fields and
// their amounts at 230 and 210 €.

#include "calculators/kalkulator_fenster.h"
#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

struct Gesamtfeld {
    const char* fenster;
    int index;  // Show's slot
    const char* feld;
};

struct Aufteilung {
    const char* gesamt;
    const char* erste;
    const char* weitere;
    const char* betragErste;
    const char* betragWeitere;
};

// Readable in test names and failure messages.
[[maybe_unused]] void PrintTo(const Gesamtfeld& g, std::ostream* out) { *out << g.fenster; }
[[maybe_unused]] void PrintTo(const Aufteilung& a, std::ostream* out) {
    *out << "Gesamt " << a.gesamt;
}

class Aufteilen : public KalkulatorTest,
                  public ::testing::WithParamInterface<std::tuple<Gesamtfeld, Aufteilung>> {};

TEST_P(Aufteilen, TotalOfFormedParcelsIsSplitAtFifty) {
    const auto& [fenster, p] = GetParam();
    KalkulatorFenster& f = laden<KalkulatorFenster>(fenster.index);
    user::type(f, fenster.feld, p.gesamt);
    EXPECT_EQ(text(f, "mskNeuFlur"), p.erste);
    EXPECT_EQ(text(f, "mskNeuFlur51"), p.weitere);
    EXPECT_EQ(caption(f, "lblNeuFlur"), p.betragErste);
    EXPECT_EQ(caption(f, "lblNeuFlur51"), p.betragWeitere);
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

INSTANTIATE_TEST_SUITE_P(
    Flurstücke, Aufteilen,
    ::testing::Combine(
        ::testing::Values(Gesamtfeld{"Zerlegung", 4, "mskGesamt"},
                          Gesamtfeld{"Baulandumlegung", 3, "mskGesamt"},
                          Gesamtfeld{"Anlagen", 2, "mskFlurstücke"}),
        ::testing::Values(Aufteilung{"3", "3   ", "    ", "690,00", "  0,00"},
                          Aufteilung{"50", "50  ", "    ", "11.500,00", "  0,00"},
                          Aufteilung{"51", "50  ", "1   ", "11.500,00", "210,00"},
                          Aufteilung{"120", "50  ", "70  ", "11.500,00", "14.700,00"},
                          Aufteilung{"9999", "50  ", "9949", "11.500,00", "2.089.290,00"})),
    [](const auto& fall) {
        return std::string(std::get<0>(fall.param).fenster) + "_Gesamt" +
               std::get<1>(fall.param).gesamt;
    });

}  // namespace
}  // namespace tarvex::testing
