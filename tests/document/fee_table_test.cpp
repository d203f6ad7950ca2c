#include "fee_table_fixture.h"

namespace tarvex::testing {
namespace {

const Zeilen kZeilen = {
    {"30.61.1", "Grenzpunkte", "3   ", "150,00 €", "450,00 €"},
    {"", "", "", "", ""},
    {"30.6", "Summe", "", "", "  1.250,00 €"},
};

TEST_F(FeeTableTest, FeeTableAtLumStartReadsBackCellByCellAfterReopening) {
    öffnen("template-basic.docx");
    feeTabelle("TARVEX_1", std::nullopt, kZeilen, "frmKat1");
    speichernUndNeuÖffnen();

    ASSERT_EQ(doc->Tables().Count(), 2);
    word::Table t = doc->Tables().Item(2);  // after the foreign table "Auftragsdaten"
    EXPECT_LT(t.Range().End(), marke("lumStart"));
    EXPECT_EQ(ZelleEinlesen(t, 1, 1), "Grenzfeststellung nach Nr. 30.6\r");
    for (short z = 0; z < 3; ++z)
        for (short s = 0; s < 5; ++s) EXPECT_EQ(ZelleEinlesen(t, z + 3, s + 1), kZeilen[z][s]);
    EXPECT_TRUE(t.Cell(1, 1).Range().Underline());
    EXPECT_TRUE(t.Cell(2, 5).Range().Bold());
    EXPECT_FALSE(t.Cell(3, 2).Range().Bold());
    EXPECT_EQ(t.Range().Comments().Item(1).Text(), "TARVEX_1");  // cell (1,5) comes first
    EXPECT_EQ(t.Cell(3, 5).Range().Comments().Item(1).Text(), "no");
    EXPECT_EQ(t.Cell(5, 5).Range().Comments().Count(), 0);

    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(FeeTableTest, NewTableGoesBeforeTheLastExactLumStartOrToTheEnd) {
    // Template; the marker the table must follow; the one (and which of its kind) it must
    // precede, "" for the end of the body.
    const std::tuple<const char*, const char*, const char*, int> fälle[] = {
        {"template-two-starts.docx", "lumStart", "lumStart", 2},
        {"template-edge.docx", "lumStart ", "lumStart", 1},
        {"template-no-start.docx", "lumAuslagen", "", 1},
        {"template-image.docx", "Bitte prüfen", "lumStart", 1}};
    for (const auto& [vorlage, nach, vor, vorNr] : fälle) {
        SCOPED_TRACE(vorlage);
        öffnen(vorlage);
        word::Table t = feeTabelle("TARVEX_5", std::nullopt, kZeilen);
        EXPECT_GT(t.Range().Start(), marke(nach));
        if (*vor)
            EXPECT_LT(t.Range().End(), marke(vor, vorNr));
        else
            EXPECT_LE(doc->Content().End() - t.Range().End(), 2);  // only the paragraph after it
        speichernUndNeuÖffnen();
        EXPECT_EQ(doc->Tables().Count(), 2);
    }
}

TEST_F(FeeTableTest, SecondTableFollowsTheFirstAndARewriteKeepsFirstPlace) {
    öffnen("template-basic.docx");
    feeTabelle("TARVEX_5", std::nullopt, kZeilen);
    feeTabelle("TARVEX_1", std::nullopt, kZeilen, "frmKat1");
    speichernUndNeuÖffnen();
    driver->push("G_frmTabelle", [](ui::Form& f) {
        ui::user::click(f, "optTabelle(0)");
        ui::user::click(f, "cmdEnde");
    });
    auto alt = TabelleErmitteln("TARVEX_5", 0);
    ASSERT_TRUE(alt && *alt == doc->Tables().Item(2));
    feeTabelle("TARVEX_5", alt, {{"30.61.1", "neu", "7", "", ""}});
    speichernUndNeuÖffnen();

    ASSERT_EQ(doc->Tables().Count(), 3);
    EXPECT_EQ(ZelleEinlesen(doc->Tables().Item(1), 3, 2), "112/3");  // foreign table untouched
    EXPECT_EQ(ZelleEinlesen(doc->Tables().Item(2), 3, 2), "neu");
    EXPECT_EQ(doc->Tables().Item(2).Range().Comments().Item(1).Text(), "TARVEX_5");
    EXPECT_EQ(doc->Tables().Item(3).Range().Comments().Item(1).Text(), "TARVEX_1");
    EXPECT_LT(doc->Tables().Item(3).Range().End(), marke("lumStart"));
}

TEST_F(FeeTableTest, CellsAppendAndABadCellIsLoggedWhileTheRestIsWritten) {
    öffnen("template-basic.docx");
    word::Table t = doc->Tables().Add(WordTabelleFestlegen("frmKat5", std::nullopt), 3, 5);
    wordTabelle(t, 3, 1, "30.", false, "");
    wordTabelle(t, 9, 1, "weg", true, "no");
    wordTabelle(t, 3, 1, "61", false, "");
    EXPECT_EQ(ZelleEinlesen(t, 3, 1), "30.61");
    EXPECT_EQ(t.Range().Comments().Count(), 0);
    EXPECT_EQ(ZelleEinlesen(t, 3, 6), "");
    EXPECT_TRUE(log.contains("Rechnung.wordTabelle"));
    EXPECT_TRUE(log.contains("Rechnung.ZelleEinlesen"));
}

TEST_F(FeeTableTest, SummeLöschenRemovesOnlyTablesMarkedExactlyReSumme) {
    öffnen("template-basic.docx");
    feeTabelle("TARVEX_5", std::nullopt, kZeilen);
    for (std::string m : {"RE_Summe", "re_summe", "RE_Summe", "RE_Summe "}) {
        word::Table t = doc->Tables().Add(WordTabelleFestlegen("frmKat5", std::nullopt), 2, 2);
        wordTabelle(t, 1, 1, m, false, "19");
        wordTabelle(t, 2, 2, m, false, m);  // the marker need not be the first comment
    }
    SummeLöschen();
    speichernUndNeuÖffnen();
    ASSERT_EQ(doc->Tables().Count(), 4);
    EXPECT_EQ(doc->Tables().Item(2).Range().Comments().Item(1).Text(), "TARVEX_5");
    EXPECT_EQ(ZelleEinlesen(doc->Tables().Item(3), 1, 1), "re_summe");
    EXPECT_EQ(ZelleEinlesen(doc->Tables().Item(4), 1, 1), "RE_Summe ");
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

}  // namespace
}  // namespace tarvex::testing
