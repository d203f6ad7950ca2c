// The split of the formed parcels at fifty that Zerlegung, Baulandumlegung and Lang gestreckte
// Anlagen share: a total typed into each window's total field fills the two count fields and
// their amounts at 230 and 210 €.

#include "calculators/kalkulator_fenster.h"
#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

TEST_F(KalkulatorTest, TotalOfFormedParcelsIsSplitAtFifty) {
    // Window's slot and total field; total; both counts and their amounts.
    const std::pair<int, const char*> fenster[] = {
        {4, "mskGesamt"}, {3, "mskGesamt"}, {2, "mskFlurstücke"}};
    const std::array<const char*, 5> fälle[] = {
        {"3", "3   ", "    ", "690,00", "  0,00"},
        {"50", "50  ", "    ", "11.500,00", "  0,00"},
        {"51", "50  ", "1   ", "11.500,00", "210,00"},
        {"120", "50  ", "70  ", "11.500,00", "14.700,00"},
        {"9999", "50  ", "9949", "11.500,00", "2.089.290,00"}};
    for (const auto& [index, feld] : fenster)
        for (const auto& [gesamt, erste, weitere, betragErste, betragWeitere] : fälle) {
            SCOPED_TRACE(::testing::Message() << "Fenster " << index << ", " << gesamt);
            neuerFall();
            KalkulatorFenster& f = laden<KalkulatorFenster>(index);
            user::type(f, feld, gesamt);
            EXPECT_EQ(text(f, "mskNeuFlur"), erste);
            EXPECT_EQ(text(f, "mskNeuFlur51"), weitere);
            EXPECT_EQ(caption(f, "lblNeuFlur"), betragErste);
            EXPECT_EQ(caption(f, "lblNeuFlur51"), betragWeitere);
        }
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

}  // namespace
}  // namespace tarvex::testing
