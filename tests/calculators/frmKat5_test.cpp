// The Grenzfeststellung window on the calculator frame: load, share field, "Abbruch", factors,
// tiers, kinds, base amount and the fee table OK writes.

#include "calculators/zahlen.h"
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

class KommaTaste : public KalkulatorTest,
                   public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(KommaTaste, RightAlignsTheIntegerPartAndSelectsTheDecimals) {
    frmKat5& f = grenzfeststellung();
    user::focus(f, "mskBezug");
    for (const char* t = GetParam().first; *t; ++t) user::keyPress(f, "mskBezug", *t);
    auto& feld = f.masked("mskBezug");
    EXPECT_EQ(feld.text(), GetParam().second);
    EXPECT_EQ(feld.selText(), "00");
    EXPECT_EQ(feld.selStart(), 5);
}

INSTANTIATE_TEST_SUITE_P(Anteil, KommaTaste,
                         ::testing::Values(std::pair{"5,", "   5,00"}, std::pair{",", "1000,00"},
                                           std::pair{"500,", " 500,00"}));

class BodenwertFaktor : public KalkulatorTest,
                        public ::testing::WithParamInterface<std::pair<const char*, const char*>> {
};

TEST_P(BodenwertFaktor, LeavingTheLandValueSetsTheValueFactor) {
    frmKat5& f = grenzfeststellung();
    user::type(f, "mskBoden", "500");
    user::focus(f, "mskBoden");
    user::keyPress(f, "mskBoden", ui::kKeyBackspace);  // empty stays possible: "    "
    for (const char* t = GetParam().first; *t; ++t) user::keyPress(f, "mskBoden", *t);
    user::leave(f, "mskBoden");
    EXPECT_EQ(caption(f, "lblFaktor"), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Grenzen, BodenwertFaktor,
                         ::testing::Values(std::pair{"", "1,0"}, std::pair{"10", "1,0"},
                                           std::pair{"11", "1,5"}, std::pair{"100", "1,5"},
                                           std::pair{"101", "2,25"}, std::pair{"300", "2,25"},
                                           std::pair{"301", "3,0"}, std::pair{"1000", "3,0"},
                                           std::pair{"1001", "3,75"}, std::pair{"9999", "3,75"}));

struct Faktorwahl {
    const char* bodenwert;
    int klassifizierung;
    const char* zwischenMalFaktor;  // 10 points: subtotal 950,00
    const char* position;           // item of the factor block written
};

// Readable in test names and failure messages.
[[maybe_unused]] void PrintTo(const Faktorwahl& c, std::ostream* out) { *out << "Bodenwert " << c.bodenwert << ", Klassifizierung " << c.klassifizierung; }

class FaktorWahl : public KalkulatorTest, public ::testing::WithParamInterface<Faktorwahl> {};

TEST_P(FaktorWahl, LargerFactorIsAppliedAndWrittenTiesGoToTheValueFactor) {
    const Faktorwahl& p = GetParam();
    frmKat5& f = grenzfeststellung();
    user::click(f, "optNr(1)");
    user::type(f, "mskAGPSohne", "10");
    user::type(f, "mskBoden", p.bodenwert);
    user::chooseListEntry(f, "cmbKlassifizierung", p.klassifizierung);
    EXPECT_EQ(caption(f, "lblZF"), p.zwischenMalFaktor);
    user::click(f, "CommandEnde");
    auto t = gebührentabelle();
    ASSERT_TRUE(t);
    EXPECT_EQ(ZelleEinlesen(*t, 9, 1), p.position);  // rows 3 tier, 5 marked, 7 subtotal
}

INSTANTIATE_TEST_SUITE_P(Faktoren, FaktorWahl,
                         ::testing::Values(Faktorwahl{"200", 0, "2.137,50", "30.23.1"},
                                           Faktorwahl{"10", 0, "1.425,00", "30.23.2"},
                                           Faktorwahl{"50", 0, "1.425,00", "30.23.1"},
                                           Faktorwahl{"5", 1, "1.140,00", "30.23.2"},
                                           Faktorwahl{"5", 2, "950,00", "30.23.1"}));

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

class Stufen : public KalkulatorTest,
               public ::testing::WithParamInterface<std::array<const char*, 4>> {};

TEST_P(Stufen, TotalIsSplitIntoTheThreeTiers) {
    const auto& [gesamt, erste, zweite, dritte] = GetParam();
    frmKat5& f = grenzfeststellung();
    user::type(f, "mskAGPSohne", gesamt);
    EXPECT_EQ(text(f, "mskAGPo"), erste);
    EXPECT_EQ(text(f, "mskAGP26o"), zweite);
    EXPECT_EQ(text(f, "mskAGP51o"), dritte);
}

INSTANTIATE_TEST_SUITE_P(Grenzpunkte, Stufen,
                         ::testing::Values(std::array{"60", "25  ", "25  ", "10  "},
                                           std::array{"30", "25  ", "5   ", "    "},
                                           std::array{"25", "25  ", "    ", "    "}));

class Arten : public KalkulatorTest, public ::testing::WithParamInterface<int> {};

TEST_P(Arten, KindDecidesMarkedPointsAndBaseAmount) {
    const int art = GetParam();
    const bool abmarkung = art <= 2;
    const bool sockel = art == 0 || art == 3;
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

INSTANTIATE_TEST_SUITE_P(Grenzfeststellung, Arten, ::testing::Range(0, 5));

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
