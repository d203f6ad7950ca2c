// The Gebäudeaufnahme window: cost brackets, further groups, the rows OK writes and the share.

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

TEST_F(Gebaeudeaufnahme, BaseFeeAndBracketTextFollowTheCostBracket) {
    // Costs typed; lblGebühr100; row 9 with "Bereich Baukosten" ticked.
    const std::array<const char*, 3> fälle[] = {
        {"", "   100", "bis 25 T€"},
        {"25000", "   100", "bis 25 T€"},
        {"25001", "   200", "zwischen 25 T€ und 100 T€"},
        {"100000", "   200", "zwischen 25 T€ und 100 T€"},
        {"100001", "   300", "zwischen 100 T€ und 400 T€"},
        {"400001", "   500", "zwischen 400 T€ und 800 T€"},
        {"800001", "   800", "zwischen 800 T€ und 2 M€"},
        {"2000000", "   800", "zwischen 800 T€ und 2 M€"},
        {"5000000", " 1.200", "zwischen 2 M€ und 5 M€"},
        {"5000001", " 2.400", "zwischen 5 M€ und 10 M€"},
        {"9999999", " 2.400", "zwischen 5 M€ und 10 M€"},
        {"10000000", " 3.600", "zwischen 10 M€ und 15 M€"},
        {"12000000", " 3.600", "zwischen 10 M€ und 15 M€"},
        // The largest cost the field takes: step 199, beyond 16-bit fees.
        {"999999999", "240.000", "zwischen 995 M€ und 1000 M€"}};
    for (const auto& [eingabe, grundgebühr, bereich] : fälle) {
        SCOPED_TRACE(eingabe);
        neuerFall();
        frmKat4& f = fenster();
        user::type(f, "mskBaukosten", eingabe);
        EXPECT_EQ(caption(f, "lblGebühr100"), grundgebühr);
        user::click(f, "chkBereich");
        user::click(f, "CommandEnde");
        auto t = tabelle();
        ASSERT_TRUE(t);
        EXPECT_EQ(ZelleEinlesen(*t, 9, 2), bereich);
    }
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(Gebaeudeaufnahme, EveryFurtherOneToFiveBuildingsAddThirtyPercentOfTheBaseFee) {
    // Buildings; then mskAnzahl30, lblSumme30 and lblSumme at 300.000 € (base fee 300, 90 a group).
    const std::array<const char*, 4> fälle[] = {
        {"5", "    ", " 0,00", "300,00"},
        {"6", "   1", "  90,00", "390,00"},
        {"10", "   1", "  90,00", "390,00"},
        {"11", "   2", " 180,00", "480,00"},
        {"12", "   2", " 180,00", "480,00"},
        // A thousand groups: no thousands point in the four-digit field.
        {"5001", "1000", "90.000,00", "90.300,00"}};
    for (const auto& [gebäude, anzahl30, summe30, summe] : fälle) {
        SCOPED_TRACE(gebäude);
        neuerFall();
        frmKat4& f = fenster();
        user::type(f, "mskBaukosten", "300000");
        user::type(f, "mskAnzahl30", "7");  // overwritten: only the building count decides
        user::type(f, "mskAnzahl", gebäude);
        EXPECT_EQ(caption(f, "lblGebühr100"), "   300");
        EXPECT_EQ(caption(f, "lblGebühr30"), "    90");
        EXPECT_EQ(text(f, "mskAnzahl30"), anzahl30);
        EXPECT_EQ(caption(f, "lblSumme30"), summe30);
        EXPECT_EQ(caption(f, "lblSumme"), summe);
    }
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(Gebaeudeaufnahme, TwelveBuildingsAtThreeHundredThousandWriteFourteenRows) {
    frmKat4& f = fenster();
    user::type(f, "txtGebäude", "Wohnhaus mit Garage\nScheune");
    user::type(f, "mskAnzahl", "12");
    user::type(f, "mskBaukosten", "300000");
    user::click(f, "CommandEnde");
    auto t = tabelle();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Rows().Count(), 14);
    zellenPrüfen(*t, {{1, 1, "Gebäudeaufnahme nach Nr. 30.4\r", ""},
                      {1, 5, "", "TARVEX_4"},
                      {3, 1, "30.24", ""},
                      {3, 2, "Gebäudebeschreibung", ""},
                      {4, 2, "Wohnhaus mit Garage\rScheune", ""},
                      {5, 2, "", ""},
                      {6, 2, "Anzahl der Gebäude oder Gebäudeteile", ""},
                      {6, 3, "12  ", ""},
                      {8, 2, "Summe der Baukosten", ""},
                      {9, 2, "300.000 €", ""},
                      {11, 2, "Grundgebühr bis zu 5 Gebäuden oder Gebäudeteilen", ""},
                      {11, 5, "  300,00 €", "no"},
                      {12, 2, "weitere 1 bis 5 Gebäude oder Gebäudeteile", ""},
                      {12, 3, "   2", ""},
                      {12, 4, "    90", ""},
                      {12, 5, "  180,00 €", "no"},
                      {13, 2, "", ""},
                      {14, 2, "Gebühr", ""},
                      {14, 5, "480,00 €", ""}});
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(Gebaeudeaufnahme, ShareRowStandsTwoRowsBelowTheFeeWhichIsThenMarked) {
    for (const bool weitere : {false, true}) {
        SCOPED_TRACE(weitere ? "with further buildings" : "five buildings");
        neuerFall();
        frmKat4& f = fenster();
        user::type(f, "mskAnzahl", weitere ? "6" : "5");
        user::type(f, "mskBaukosten", "30000");
        user::type(f, "mskBezug", "500,");
        user::click(f, "CommandEnde");
        auto t = tabelle();
        ASSERT_TRUE(t);
        EXPECT_EQ(t->Rows().Count(), 16);
        const short gebühr = weitere ? 14 : 13;
        zellenPrüfen(*t, {{12, 2, weitere ? "weitere 1 bis 5 Gebäude oder Gebäudeteile" : "", ""},
                          {gebühr, 2, "Gebühr", ""},
                          {gebühr, 5, weitere ? "260,00 €" : "200,00 €", "no"},
                          {short(gebühr + 2), 2, "Anteil in 1/1000", ""},
                          {short(gebühr + 2), 3, "500", ""},
                          {short(gebühr + 2), 5, weitere ? "  130,00 €" : "  100,00 €", ""}});
    }
}

TEST_F(Gebaeudeaufnahme, HandEditedCountBeyondTheFieldIsLoggedAndNeverWrapped) {
    frmKat4& f = fenster();
    user::type(f, "mskAnzahl", "12");
    user::click(f, "CommandEnde");
    auto t = tabelle();
    ASSERT_TRUE(t);
    word::Range anzahl = t->Cell(6, 3).Range();
    anzahl.Delete();
    t->Cell(6, 3).Range().InsertAfter("70000");
    frmKat4& wieder = fenster(true);
    EXPECT_EQ(text(wieder, "mskAnzahl"), "    ");
    EXPECT_EQ(text(wieder, "mskAnzahl30"), "    ");
    EXPECT_EQ(caption(wieder, "lblSumme"), "100,00");
    EXPECT_TRUE(log.contains("frmKat4")) << log.sink().all();
}

TEST_F(Gebaeudeaufnahme, BracketTextsReadBackToTheLowestCostOfTheirBracket) {
    EXPECT_EQ(Bereichsanfang("bis 25 T€"), 20000);
    EXPECT_EQ(Bereichsanfang("zwischen 25 T€ und 100 T€"), 25001);
    EXPECT_EQ(Bereichsanfang("zwischen 800 T€ und 2 M€"), 800001);
    EXPECT_EQ(Bereichsanfang("zwischen 5 M€ und 10 M€"), 5000001);
    EXPECT_EQ(Bereichsanfang("zwischen 995 M€ und 1000 M€"), 995000001);
    EXPECT_THROW(Bereichsanfang("300.000 €"), Error);
}

}  // namespace
}  // namespace tarvex::testing
