#include "fee_table_fixture.h"

namespace tarvex::testing {
namespace {

class TabellenwahlTest : public FeeTableTest {
  protected:
    // The template with `n` fee tables tagged `tag`, saved and reopened.
    void mitTabellen(int n, const std::string& tag = "TARVEX_5") {
        öffnen("template-basic.docx");
        for (int i = 1; i <= n; ++i)
            feeTabelle(tag, std::nullopt, {{"30.6", "Tabelle " + std::to_string(i)}});
        speichernUndNeuÖffnen();
    }
    // Queues a user who notes what the dialog offers, clicks `option` (if any) and OK;
    // returns what TabelleErmitteln gives, as the text of the table's cell (3,2).
    std::string wählen(const std::string& Tag, const std::string& option) {
        driver->push("G_frmTabelle", [this, option](ui::Form& f) {
            angeboten.clear();
            for (int i = 0; i < 5; ++i) angeboten.push_back(f.option("optTabelle", i).enabled());
            cursorAngeboten = f.option("optAktTabelle").enabled();
            for (auto* c : f.controls())
                if (auto* o = dynamic_cast<ui::OptionButton*>(c); o && o->value())
                    vorher = o->name();
            if (!option.empty()) ui::user::click(f, option);
            ui::user::click(f, "cmdEnde");
        });
        auto t = TabelleErmitteln(Tag, 0);
        return t ? ZelleEinlesen(*t, 3, 2) : "(neu)";
    }

    std::vector<bool> angeboten;
    bool cursorAngeboten = false;
    std::string vorher;
};

TEST_F(TabellenwahlTest, TwoTaggedTablesOfferTwoEntriesTheChoiceIsKeptAndClosingMeansNew) {
    mitTabellen(2);
    EXPECT_EQ(wählen("TARVEX_5", "optTabelle(1)"), "Tabelle 2");
    EXPECT_EQ(angeboten, (std::vector<bool>{true, true, false, false, false}));
    EXPECT_FALSE(cursorAngeboten);
    EXPECT_EQ(vorher, "optNeu");
    EXPECT_EQ(wählen("TARVEX_5", ""), "Tabelle 2");
    EXPECT_EQ(vorher, "optTabelle(1)");

    // The close button unloads the dialog (storing its place): a new table, then optNeu again.
    driver->push("G_frmTabelle", [](ui::Form& f) { f.setTop(1200), ui::user::close(f); });
    EXPECT_FALSE(TabelleErmitteln("TARVEX_5", 0));
    EXPECT_EQ(plattform().settings->get("Lumora", "G_frmTabelle", "Top").value_or(""), "1200");
    wählen("TARVEX_5", "");
    EXPECT_EQ(vorher, "optNeu");
}

TEST_F(TabellenwahlTest, OnlyATableWithoutCommentsUnderTheCursorCountsAsForeign) {
    mitTabellen(1, "TARVEX_1");
    doc->Tables().Item(2).Cell(3, 2).Select();  // a fee table: not foreign, nothing to ask
    EXPECT_FALSE(TabelleErmitteln("TARVEX_5", 0));
    EXPECT_TRUE(driver->shown().empty());

    doc->Tables().Item(1).Cell(2, 2).Select();
    EXPECT_EQ(wählen("TARVEX_5", "optAktTabelle"), "112/3");
    EXPECT_TRUE(cursorAngeboten);
    EXPECT_EQ(angeboten, std::vector<bool>(5, false));
}

TEST_F(TabellenwahlTest, AKeptChoiceThatIsNoLongerOfferedFallsBackToNew) {
    mitTabellen(1, "TARVEX_1");
    doc->Tables().Item(1).Cell(1, 1).Select();
    wählen("TARVEX_1", "optAktTabelle");
    // The cursor now stands in the fee table itself: taking "the cursor table" again would
    // hand the window a table that its OK deletes.
    doc->Tables().Item(2).Cell(3, 2).Select();
    EXPECT_EQ(wählen("TARVEX_1", ""), "(neu)");
    EXPECT_EQ(vorher, "optNeu");
}

TEST_F(TabellenwahlTest, SixTaggedTablesOfferFiveAndTheSixthIsLogged) {
    mitTabellen(6);
    EXPECT_EQ(wählen("TARVEX_5", "optTabelle(4)"), "Tabelle 5");
    EXPECT_EQ(angeboten, std::vector<bool>(5, true));
    EXPECT_EQ(log.count(), 1u);
    EXPECT_TRUE(log.contains("LM_WordAuto.TabelleErmitteln"));
}

}  // namespace
}  // namespace tarvex::testing
