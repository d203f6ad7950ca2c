#include <gtest/gtest.h>

#include <algorithm>

#include "fee_table_fixture.h"

namespace tarvex::testing {
namespace {

using Zeilen = std::vector<std::vector<std::string>>;

const Zeilen kZeilen = {
    {"30.61.1", "Grenzpunkte", "3   ", "150,00 €", "450,00 €"},
    {"", "", "", "", ""},
    {"30.6", "Summe", "", "", "  1.250,00 €"},
};

long absätze(word::Document& d) {
    const std::string text = d.Content().Text();
    return static_cast<long>(std::count(text.begin(), text.end(), '\r'));
}

TEST_F(FeeTableTest, FeeTableAtLumStartReadsBackCellByCellAfterReopening) {
    öffnen("template-basic.docx");
    feeTabelle("TARVEX_5", std::nullopt, kZeilen);
    word::Document& d = speichernUndNeuÖffnen();

    ASSERT_EQ(d.Tables().Count(), 2);
    word::Table t = d.Tables().Item(2);  // after the foreign table "Auftragsdaten"
    EXPECT_LT(t.Range().End(), markenPosition("lumStart"));
    EXPECT_EQ(ZelleEinlesen(t, 1, 1), "Grenzfeststellung nach Nr. 30.6\r");
    EXPECT_EQ(ZelleEinlesen(t, 1, 5), "");
    EXPECT_EQ(ZelleEinlesen(t, 2, 4), "Einzelgebühr [€]");
    for (short z = 0; z < 3; ++z)
        for (short s = 0; s < 5; ++s)
            EXPECT_EQ(ZelleEinlesen(t, z + 3, s + 1), kZeilen[z][s]) << z + 3 << "," << s + 1;

    EXPECT_TRUE(t.Cell(1, 1).Range().Bold());
    EXPECT_TRUE(t.Cell(1, 1).Range().Underline());
    EXPECT_TRUE(t.Cell(2, 5).Range().Bold());
    EXPECT_FALSE(t.Cell(3, 2).Range().Bold());
    auto kommentare = t.Range().Comments();
    ASSERT_EQ(kommentare.Count(), 3);
    EXPECT_EQ(kommentare.Item(1).Text(), "TARVEX_5");  // the tag comes first: cell (1,5)
    EXPECT_EQ(t.Cell(3, 5).Range().Comments().Item(1).Text(), "no");
    EXPECT_EQ(t.Cell(5, 5).Range().Comments().Count(), 0);
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(FeeTableTest, FormattingGivesTheWindowsWidthsNoBordersAndAlignment) {
    öffnen("template-basic.docx");
    word::Table t = feeTabelle("TARVEX_1", std::nullopt, kZeilen, "frmKat1");
    const double breiten[] = {1.9, 7.9, 1.7, 3.5, 2.5};
    for (long s = 1; s <= 5; ++s)
        EXPECT_NEAR(t.Cell(3, s).Width(), word::Application::CentimetersToPoints(breiten[s - 1]),
                    0.1);
    const double kopf[] = {12, 1, 1, 1, 2.5};
    for (long s = 1; s <= 5; ++s)
        EXPECT_NEAR(t.Cell(1, s).Width(), word::Application::CentimetersToPoints(kopf[s - 1]), 0.1);
    for (int b = -1; b >= -6; --b)
        EXPECT_EQ(t.Borders(static_cast<word::BorderIndex>(b)).GetLineStyle(),
                  word::LineStyle::None);
    EXPECT_EQ(t.Cell(3, 1).Range().ParagraphAlignment(), word::Alignment::Left);
    EXPECT_EQ(t.Cell(3, 2).Range().ParagraphAlignment(), word::Alignment::Left);
    EXPECT_EQ(t.Cell(3, 5).Range().ParagraphAlignment(), word::Alignment::Right);
}

TEST_F(FeeTableTest, ColumnWidthsOfEveryWindowAddUpTo17Point5Centimetres) {
    for (const char* fenster : {"frmKat1", "frmKat2", "frmKat3", "frmKat4", "frmKat5"}) {
        auto b = Spaltenbreiten(fenster);
        EXPECT_NEAR(b[0] + b[1] + b[2] + b[3] + b[4], 17.5, 1e-9) << fenster;
    }
    EXPECT_EQ(Spaltenbreiten("frmKat2"), Spaltenbreiten("frmKat5"));
    EXPECT_NE(Spaltenbreiten("frmKat2"), Spaltenbreiten("frmKat3"));
    EXPECT_THROW(Spaltenbreiten("frmUnbekannt"), Error);
}

TEST_F(FeeTableTest, SecondTableFollowsTheFirstAndARewriteKeepsFirstPlace) {
    öffnen("template-basic.docx");
    word::Table erste = feeTabelle("TARVEX_5", std::nullopt, kZeilen);
    word::Table zweite = feeTabelle("TARVEX_1", std::nullopt, kZeilen, "frmKat1");
    EXPECT_EQ(platz(erste), 2);
    EXPECT_EQ(platz(zweite), 3);

    speichernUndNeuÖffnen();
    driver->push("G_frmTabelle", [](ui::Form& f) {
        ui::user::click(f, "optTabelle(0)");
        ui::user::click(f, "cmdEnde");
    });
    auto gefunden = TabelleErmitteln("TARVEX_5", 0);
    ASSERT_TRUE(gefunden);
    EXPECT_EQ(platz(*gefunden), 2);
    feeTabelle("TARVEX_5", gefunden, {{"30.61.1", "neu", "7", "", ""}});
    EXPECT_FALSE(gefunden->IsValid());

    word::Document& wieder = speichernUndNeuÖffnen();
    ASSERT_EQ(wieder.Tables().Count(), 3);
    EXPECT_EQ(ZelleEinlesen(wieder.Tables().Item(2), 3, 2), "neu");
    EXPECT_EQ(wieder.Tables().Item(2).Range().Comments().Item(1).Text(), "TARVEX_5");
    EXPECT_EQ(wieder.Tables().Item(3).Range().Comments().Item(1).Text(), "TARVEX_1");
    EXPECT_EQ(ZelleEinlesen(wieder.Tables().Item(1), 3, 2), "112/3");  // foreign table untouched
    EXPECT_LT(wieder.Tables().Item(3).Range().End(), markenPosition("lumStart"));
}

TEST_F(FeeTableTest, TwoLumStartMarkersBothGetAParagraphAndTheTableGoesToTheLast) {
    word::Document& d = öffnen("template-two-starts.docx");
    const long vorher = absätze(d);
    word::Table t = feeTabelle("TARVEX_5", std::nullopt, kZeilen);
    EXPECT_GT(t.Range().Start(), markenPosition("lumStart", 1));
    EXPECT_LT(t.Range().End(), markenPosition("lumStart", 2));
    word::Document& wieder = speichernUndNeuÖffnen();
    // Two new paragraphs; the table took the place of one and brought its following one.
    EXPECT_GE(absätze(wieder), vorher + 2);
    EXPECT_GT(wieder.Tables().Item(2).Range().Start(), markenPosition("lumStart", 1));
}

TEST_F(FeeTableTest, OnlyTheExactLumStartCountsAmongDecoys) {
    öffnen("template-edge.docx");
    word::Table t = feeTabelle("TARVEX_5", std::nullopt, kZeilen);
    EXPECT_GT(t.Range().Start(), markenPosition("lumStart "));
    EXPECT_LT(t.Range().End(), markenPosition("lumStart"));
    EXPECT_LT(markenPosition("lumStart"), markenPosition("LUMSTART"));
}

TEST_F(FeeTableTest, WithoutLumStartTheTableGoesToTheEnd) {
    word::Document& d = öffnen("template-no-start.docx");
    word::Table t = feeTabelle("TARVEX_5", std::nullopt, kZeilen);
    EXPECT_GT(t.Range().Start(), markenPosition("lumAuslagen"));
    EXPECT_LE(d.Content().End() - t.Range().End(), 2);  // only the paragraph after the table
    EXPECT_EQ(speichernUndNeuÖffnen().Tables().Count(), 2);
}

TEST_F(FeeTableTest, CellWritingAppendsKeepsNormalWeightAndSurvivesBadCells) {
    öffnen("template-basic.docx");
    word::Table t = doc->Tables().Add(WordTabelleFestlegen("frmKat5", std::nullopt), 3, 5);
    wordTabelle(t, 3, 1, "30.", false, "");
    wordTabelle(t, 3, 1, "61", false, "");
    wordTabelle(t, 9, 1, "weg", true, "no");
    wordTabelle(t, 3, 2, "fett", true, "");
    EXPECT_EQ(ZelleEinlesen(t, 3, 1), "30.61");
    EXPECT_FALSE(t.Cell(3, 1).Range().Bold());
    EXPECT_TRUE(t.Cell(3, 2).Range().Bold());
    EXPECT_EQ(ZelleEinlesen(t, 3, 3), "");
    EXPECT_EQ(t.Range().Comments().Count(), 0);
    EXPECT_TRUE(log.contains("Rechnung.wordTabelle"));

    EXPECT_EQ(ZelleEinlesen(t, 3, 6), "");
    EXPECT_EQ(ZelleEinlesen(t, -1, 1), "");
    EXPECT_TRUE(log.contains("Rechnung.ZelleEinlesen"));
}

TEST_F(FeeTableTest, WithoutADocumentEverythingIsLoggedAndNothingThrows) {
    sitzungsdaten().Doc.reset();
    EXPECT_FALSE(TabelleErmitteln("TARVEX_5", 0));
    EXPECT_NO_THROW(SummeLöschen());
    EXPECT_THROW(WordTabelleFestlegen("frmKat5", std::nullopt), Error);
    EXPECT_TRUE(log.contains("LM_WordAuto.TabelleErmitteln"));
    EXPECT_TRUE(log.contains("GebührenTabelle.SummeLöschen"));
    EXPECT_TRUE(log.contains("frmKat5.WordTabelleFestlegen"));
}

TEST_F(FeeTableTest, SummeLöschenRemovesOnlyTablesMarkedExactlyReSumme) {
    word::Document& d = öffnen("template-basic.docx");
    feeTabelle("TARVEX_5", std::nullopt, kZeilen);
    auto markierte = [&](const std::string& marke) {
        word::Table t = d.Tables().Add(WordTabelleFestlegen("frmKat5", std::nullopt), 2, 2);
        wordTabelle(t, 1, 1, marke, false, marke);
        wordTabelle(t, 1, 2, "x", false, "17");
    };
    markierte("RE_Summe");
    markierte("re_summe");
    markierte("RE_Summe");
    markierte("RE_Summe ");
    speichernUndNeuÖffnen();
    ASSERT_EQ(doc->Tables().Count(), 6);

    SummeLöschen();
    word::Document& wieder = speichernUndNeuÖffnen();
    ASSERT_EQ(wieder.Tables().Count(), 4);
    EXPECT_EQ(wieder.Tables().Item(1).Range().Comments().Count(), 0);
    EXPECT_EQ(wieder.Tables().Item(2).Range().Comments().Item(1).Text(), "TARVEX_5");
    EXPECT_EQ(ZelleEinlesen(wieder.Tables().Item(3), 1, 1), "re_summe");
    EXPECT_EQ(ZelleEinlesen(wieder.Tables().Item(4), 1, 1), "RE_Summe ");
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(FeeTableTest, ReSummeOnALaterCellStillMarksTheTable) {
    word::Document& d = öffnen("template-basic.docx");
    word::Table t = d.Tables().Add(WordTabelleFestlegen("frmKat5", std::nullopt), 2, 2);
    wordTabelle(t, 1, 1, "a", false, "19");
    wordTabelle(t, 2, 2, "b", false, "RE_Summe");
    SummeLöschen();
    EXPECT_EQ(d.Tables().Count(), 1);
}

}  // namespace
}  // namespace tarvex::testing
