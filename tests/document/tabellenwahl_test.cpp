#include <gtest/gtest.h>

#include "fee_table_fixture.h"

namespace tarvex::testing {
namespace {

class TabellenwahlTest : public FeeTableTest {
  protected:
    // The template with `n` fee tables tagged `tag`, saved and reopened.
    void mitTabellen(int n, const std::string& tag = "TARVEX_5") {
        öffnen("template-basic.docx");
        for (int i = 1; i <= n; ++i)
            feeTabelle(tag, std::nullopt, {{"30.6", "Tabelle " + std::to_string(i), "", "", ""}});
        speichernUndNeuÖffnen();
    }
    // Plays `wahl` in the dialog, recording which options it offered.
    void wählen(const std::string& option) {
        driver->push("G_frmTabelle", [this, option](ui::Form& f) {
            angeboten.clear();
            for (int i = 0; i < 5; ++i) angeboten.push_back(f.option("optTabelle", i).enabled());
            cursorAngeboten = f.option("optAktTabelle").enabled();
            vorher = gewählt(f);
            if (!option.empty()) ui::user::click(f, option);
            ui::user::click(f, "cmdEnde");
        });
    }
    static std::string gewählt(ui::Form& f) {
        for (auto* c : f.controls())
            if (auto* o = dynamic_cast<ui::OptionButton*>(c); o && o->value()) return o->name();
        return "";
    }
    std::string zweiteSpalte(const std::optional<word::Table>& t) {
        return t ? ZelleEinlesen(*t, 3, 2) : "(keine)";
    }

    std::vector<bool> angeboten;
    bool cursorAngeboten = false;
    std::string vorher;
};

TEST_F(TabellenwahlTest, NoTaggedTableAndCursorOutsideAskNothing) {
    mitTabellen(1, "TARVEX_1");
    EXPECT_FALSE(TabelleErmitteln("TARVEX_5", 0));
    EXPECT_TRUE(driver->shown().empty());
}

TEST_F(TabellenwahlTest, TwoTaggedTablesOfferTwoEntriesAndTheSecondIsEdited) {
    mitTabellen(2);
    wählen("optTabelle(1)");
    auto t = TabelleErmitteln("TARVEX_5", 0);
    EXPECT_EQ(angeboten, (std::vector<bool>{true, true, false, false, false}));
    EXPECT_FALSE(cursorAngeboten);
    EXPECT_EQ(vorher, "optNeu");
    EXPECT_EQ(zweiteSpalte(t), "Tabelle 2");
    EXPECT_EQ(G_frmTabelle().caption(), "Tabellenwahl");
}

TEST_F(TabellenwahlTest, TheChoiceIsKeptForTheNextUse) {
    mitTabellen(2);
    wählen("optTabelle(1)");
    TabelleErmitteln("TARVEX_5", 0);
    wählen("");
    EXPECT_EQ(zweiteSpalte(TabelleErmitteln("TARVEX_5", 0)), "Tabelle 2");
    EXPECT_EQ(vorher, "optTabelle(1)");
}

TEST_F(TabellenwahlTest, ClosingTheDialogStartsANewTableAndStoresItsPlace) {
    mitTabellen(2);
    wählen("optTabelle(1)");
    TabelleErmitteln("TARVEX_5", 0);
    driver->push("G_frmTabelle", [](ui::Form& f) {
        f.setTop(1200);
        ui::user::close(f);
    });
    EXPECT_FALSE(TabelleErmitteln("TARVEX_5", 0));
    EXPECT_EQ(plattform().settings->get("Lumora", "G_frmTabelle", "Top").value_or(""), "1200");
    wählen("");
    TabelleErmitteln("TARVEX_5", 0);
    EXPECT_EQ(vorher, "optNeu");
    EXPECT_EQ(G_frmTabelle().top(), 1200);
}

TEST_F(TabellenwahlTest, ForeignTableUnderTheCursorIsOfferedAndReturned) {
    mitTabellen(0);
    doc->Tables().Item(1).Cell(2, 2).Select();
    wählen("optAktTabelle");
    auto t = TabelleErmitteln("TARVEX_5", 0);
    EXPECT_TRUE(cursorAngeboten);
    EXPECT_EQ(angeboten, std::vector<bool>(5, false));
    ASSERT_TRUE(t);
    EXPECT_TRUE(*t == doc->Tables().Item(1));
}

TEST_F(TabellenwahlTest, AFeeTableUnderTheCursorIsNotForeign) {
    mitTabellen(1, "TARVEX_1");
    doc->Tables().Item(2).Cell(3, 2).Select();
    EXPECT_FALSE(TabelleErmitteln("TARVEX_5", 0));
    EXPECT_TRUE(driver->shown().empty());
}

TEST_F(TabellenwahlTest, AKeptCursorChoiceIsDroppedWhenTheCursorIsNoLongerForeign) {
    mitTabellen(1, "TARVEX_1");
    doc->Tables().Item(1).Cell(1, 1).Select();
    wählen("optAktTabelle");
    TabelleErmitteln("TARVEX_1", 0);
    // Now the cursor stands in the TARVEX_1 fee table: picking "the cursor table" for the
    // frmKat1 window again must not hand it a table it would delete on OK.
    doc->Tables().Item(2).Cell(3, 2).Select();
    wählen("");
    auto t = TabelleErmitteln("TARVEX_1", 0);
    EXPECT_FALSE(cursorAngeboten);
    EXPECT_EQ(vorher, "optNeu");
    EXPECT_FALSE(t);
}

TEST_F(TabellenwahlTest, SixTaggedTablesOfferFiveAndTheSixthIsLogged) {
    mitTabellen(6);
    wählen("optTabelle(4)");
    auto t = TabelleErmitteln("TARVEX_5", 0);
    EXPECT_EQ(angeboten, std::vector<bool>(5, true));
    EXPECT_EQ(zweiteSpalte(t), "Tabelle 5");
    EXPECT_EQ(log.count(), 1u);
    EXPECT_TRUE(log.contains("LM_WordAuto.TabelleErmitteln"));
}

}  // namespace
}  // namespace tarvex::testing
