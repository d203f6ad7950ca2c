// The Grenzfeststellung window on the calculator frame: load, share field, "Abbruch", factors,
// tiers, kinds, base amount and the fee table OK writes.

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

TEST_F(KalkulatorTest, LoadWithoutTaggedTableComputesEmptyInputsAndBecomesAnMdiChild) {
    frmKat5& f = grenzfeststellung();
    EXPECT_EQ(caption(f, "lblSumme"), "200,00");  // the base amount of kind 30.6.1.1
    EXPECT_TRUE(driver->shown().empty());
    auto& calls = static_cast<RecordingWindowManager&>(*plattform().windowManager).calls;
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].value, 0x777);
    EXPECT_EQ(calls[1].value, 0x140);

    // Indexes 1 to 4 open their frame windows the same way.
    for (int index = 1; index < 5; ++index) {
        auto& slot = dynamic_cast<KalkulatorSlot&>(windowSlot(index));
        slot.loadAndShow();
        EXPECT_EQ(text(slot.fenster(), "mskBezug"), "1000,00");
    }
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(KalkulatorTest, CommaKeyRightAlignsTheIntegerPartAndSelectsTheDecimals) {
    for (const auto& [getippt, feld] :
         {std::pair{"5,", "   5,00"}, {",", "1000,00"}, {"500,", " 500,00"}}) {
        SCOPED_TRACE(getippt);
        neuerFall();
        frmKat5& f = grenzfeststellung();
        user::focus(f, "mskBezug");
        for (const char* t = getippt; *t; ++t) user::keyPress(f, "mskBezug", *t);
        EXPECT_EQ(text(f, "mskBezug"), feld);
        EXPECT_EQ(f.masked("mskBezug").selText(), "00");
        EXPECT_EQ(f.masked("mskBezug").selStart(), 5);
    }
}

TEST_F(KalkulatorTest, LeavingTheLandValueSetsTheValueFactor) {
    for (const auto& [bodenwert, faktor] : {std::pair{"", "1,0"},
                                            {"10", "1,0"},
                                            {"11", "1,5"},
                                            {"100", "1,5"},
                                            {"101", "2,25"},
                                            {"300", "2,25"},
                                            {"301", "3,0"},
                                            {"1000", "3,0"},
                                            {"1001", "3,75"},
                                            {"9999", "3,75"}}) {
        SCOPED_TRACE(bodenwert);
        neuerFall();
        frmKat5& f = grenzfeststellung();
        user::type(f, "mskBoden", "500");
        user::focus(f, "mskBoden");
        user::keyPress(f, "mskBoden", ui::kKeyBackspace);  // empty stays possible: "    "
        for (const char* t = bodenwert; *t; ++t) user::keyPress(f, "mskBoden", *t);
        user::leave(f, "mskBoden");
        EXPECT_EQ(caption(f, "lblFaktor"), faktor);
    }
}

TEST_F(KalkulatorTest, LargerFactorIsAppliedAndWrittenTiesGoToTheValueFactor) {
    // Land value, classification; subtotal × factor (10 points: 950,00); item of the factor
    // block written.
    const std::tuple<const char*, int, const char*, const char*> fälle[] = {
        {"200", 0, "2.137,50", "30.23.1"},
        {"10", 0, "1.425,00", "30.23.2"},
        {"50", 0, "1.425,00", "30.23.1"},
        {"5", 1, "1.140,00", "30.23.2"},
        {"5", 2, "950,00", "30.23.1"}};
    for (const auto& [bodenwert, klassifizierung, zwischenMalFaktor, position] : fälle) {
        SCOPED_TRACE(::testing::Message() << bodenwert << " €/m², Eintrag " << klassifizierung);
        neuerFall();
        frmKat5& f = grenzfeststellung();
        user::click(f, "optNr(1)");
        user::type(f, "mskAGPSohne", "10");
        user::type(f, "mskBoden", bodenwert);
        user::chooseListEntry(f, "cmbKlassifizierung", klassifizierung);
        EXPECT_EQ(caption(f, "lblZF"), zwischenMalFaktor);
        user::click(f, "CommandEnde");
        auto t = gebührentabelle();
        ASSERT_TRUE(t);
        EXPECT_EQ(ZelleEinlesen(*t, 9, 1), position);  // rows 3 tier, 5 marked, 7 subtotal
    }
}

TEST(Zaehlen, CountsAndRowsBeyondSixteenBitsRaiseOverflowInsteadOfWrapping) {
    EXPECT_EQ(Anzahl("32767"), 32767);
    ScopedLogCapture log;
    ErrorTrap trap("frmKat5", "CommandEnde_Click");
    std::int16_t z = 32767;
    EXPECT_FALSE(trap.step(10, [&] { z = Anzahl("40000"); }));
    EXPECT_FALSE(trap.step(20, [&] { z = Zeile(z, 2); }));
    EXPECT_EQ(z, 32767);
    EXPECT_TRUE(log.contains("Error 6"));
}

TEST_F(KalkulatorTest, TotalIsSplitIntoTheThreeTiers) {
    for (const auto& [gesamt, erste, zweite, dritte] :
         {std::array{"60", "25  ", "25  ", "10  "}, std::array{"30", "25  ", "5   ", "    "},
          std::array{"25", "25  ", "    ", "    "}}) {
        SCOPED_TRACE(gesamt);
        neuerFall();
        frmKat5& f = grenzfeststellung();
        user::type(f, "mskAGPSohne", gesamt);
        EXPECT_EQ(text(f, "mskAGPo"), erste);
        EXPECT_EQ(text(f, "mskAGP26o"), zweite);
        EXPECT_EQ(text(f, "mskAGP51o"), dritte);
    }
}

TEST_F(KalkulatorTest, KindDecidesMarkedPointsAndBaseAmount) {
    for (int art = 0; art < 5; ++art) {
        SCOPED_TRACE(art);
        const bool abmarkung = art <= 2;
        const bool sockel = art == 0 || art == 3;
        neuerFall();
        frmKat5& f = grenzfeststellung();
        user::type(f, "mskAGP", "4");
        user::type(f, "mskAGPSohne", "10");
        user::click(f, "optNr(" + std::to_string(art) + ")");
        EXPECT_EQ(f.masked("mskAGP").enabled(), abmarkung);
        EXPECT_EQ(text(f, "mskAGP"), abmarkung ? "4   " : "    ");
        EXPECT_EQ(caption(f, "lblSockel"), sockel ? "200,00" : "  0,00");
        EXPECT_EQ(caption(f, "lblSumme"),
                  Betragstext(950.0 + (abmarkung ? 100.0 : 0.0) + (sockel ? 200.0 : 0.0)));

        user::click(f, "CommandEnde");
        auto t = gebührentabelle();
        ASSERT_TRUE(t);
        EXPECT_NE(ZelleEinlesen(*t, 1, 1).find(Artnummer(art)), std::string::npos);
        EXPECT_EQ(t->Rows().Count(), sockel ? 17 : 15);
        EXPECT_EQ(ZelleEinlesen(*t, 5, 1), abmarkung ? "30.22.2" : "");
        EXPECT_EQ(ZelleEinlesen(*t, 15, 2), sockel ? "Sockelbetrag" : "Gebühr");
    }
}

TEST_F(KalkulatorTest, ShareOfFiveHundredWritesTheShareRowAndMarksTheFee) {
    frmKat5& f = grenzfeststellung();
    user::click(f, "optNr(1)");
    user::type(f, "mskAGPSohne", "10");
    user::type(f, "mskBezug", "500,");
    user::click(f, "CommandEnde");
    auto t = gebührentabelle();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Rows().Count(), 17);
    zellenPrüfen(*t, {{15, 5, "950,00 €", "no"},
                      {17, 2, "Anteil in 1/1000", ""},
                      {17, 3, "500", ""},
                      {17, 5, "  475,00 €", ""}});
}

TEST_F(KalkulatorTest, HandEditedThirdTierWithoutSecondKeepsItsRateWhenReadBack) {
    frmKat5& f = grenzfeststellung();
    user::type(f, "mskAGPSohne", "20");
    user::type(f, "mskAGP51o", "10");
    user::focus(f, "mskAGP");  // leaving a recompute field takes the direct edit in
    user::leave(f, "mskAGP");
    ASSERT_EQ(caption(f, "lblSumme"), "2.850,00");
    user::click(f, "CommandEnde");
    frmKat5& wieder = grenzfeststellung(true);
    EXPECT_EQ(text(wieder, "mskAGP51o"), "10  ");
    EXPECT_EQ(caption(wieder, "lblSumme"), "2.850,00");
}

}  // namespace
}  // namespace tarvex::testing
