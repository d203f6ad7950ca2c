// The object model on the real templates: markers, the foreign table, where tables go, cells.
#include <gtest/gtest.h>

#include "word_test_support.h"

namespace tarvex::word {
namespace {

using namespace test;

// Text after a comment's reference mark, as the totals update reads it.
std::string windowAfter(Comment c, long count = 15) {
    Range r = c.Reference();
    r.Collapse(CollapseDirection::End);
    r.MoveEnd(count);
    return r.Text();
}

struct MarkerCase {
    std::string file;
    std::vector<std::string> texts;
    std::vector<std::string> windows;  // for the texts in the same order
};

class Markers : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(Markers, FoundInDocumentOrderWithTheTextAfterThem) {
    auto doc = openTemplate(GetParam().file);
    EXPECT_EQ(commentTexts(*doc), GetParam().texts);
    Comments comments = doc->Comments();
    for (std::size_t i = 0; i < GetParam().windows.size(); ++i)
        EXPECT_EQ(windowAfter(comments.Item(static_cast<long>(i) + 1)), GetParam().windows[i])
            << GetParam().texts[i];
}

INSTANTIATE_TEST_SUITE_P(
    Templates, Markers,
    ::testing::Values(MarkerCase{"template-basic.docx",
                                 {"lumStart", "lumGesamt", "lumNetto", "lumMwSt", "lumBrutto",
                                  "lumAuslagen"},
                                 {"\rDer Rechnungsb", "1.234,56 € ist ", "1.037,44 € und ",
                                  "197,12 € (19 %)", "wird mit der Sc", "sind im Rechnun"}},
                      MarkerCase{"template-no-start.docx",
                                 {"lumGesamt", "lumNetto", "lumMwSt", "lumBrutto", "lumAuslagen"},
                                 {"1.234,56 € ist "}},
                      MarkerCase{"template-two-starts.docx",
                                 {"lumStart", "lumStart", "lumGesamt", "lumNetto", "lumMwSt",
                                  "lumBrutto", "lumAuslagen"},
                                 {}},
                      MarkerCase{"template-image.docx",
                                 {"Bitte prüfen", "lumStart", "lumGesamt", "lumNetto", "lumMwSt",
                                  "lumBrutto", "lumAuslagen"},
                                 {"\rRechnung Nr. 2", "\rDer Rechnungsb", "1.234,56 € ist "}},
                      MarkerCase{"template-edge.docx",
                                 {"lumStart ", "lumStart", "LUMSTART", "lumNetto", "lumMwSt",
                                  "lumBrutto", "lumAuslagen", "lumGesamt", "lumGesamt"},
                                 {"\r\r\rNettobetrag:", "\r\rNettobetrag: ", "\rNettobetrag: 1",
                                  "1.037,44 €\rUmsa", "\rZahlbar ohne A", "beträgt 1.234,5",
                                  "12,50 EUR (umsa", "1.234,56€ inklu", "1.234,56 € unte"}}));

class EveryTemplate : public ::testing::TestWithParam<std::string> {};

INSTANTIATE_TEST_SUITE_P(Templates, EveryTemplate,
                         ::testing::Values("template-basic.docx", "template-no-start.docx",
                                           "template-two-starts.docx", "template-image.docx",
                                           "template-edge.docx"));

TEST_P(EveryTemplate, ForeignTableIsFoundWithoutComments) {
    auto doc = openTemplate(GetParam());
    ASSERT_EQ(doc->Tables().Count(), 1);
    Table t = doc->Tables().Item(1);
    EXPECT_EQ(t.Rows().Count(), 3);
    EXPECT_EQ(t.Cell(1, 1).Range().Text(), "Auftrag\r\a");
    EXPECT_EQ(t.Cell(3, 2).Range().Text(), "112/3\r\a");
    EXPECT_EQ(t.Range().Comments().Count(), 0);
}

// Writes a 4x5 fee table tagged with `tag` at the place the writer would choose.
Table writeFeeTable(Document& doc, const std::string& tag, const std::string& first) {
    Range place = placeForNewTable(doc);
    Table t = doc.Tables().Add(place, 4, 5);
    t.Cell(1, 1).Range().InsertAfter(first + "\r\n");
    t.Cell(3, 3).Range().InsertAfter("3   ");
    t.Cell(3, 5).Range().InsertAfter("150,00 €");
    doc.Comments().Add(t.Cell(3, 5).Range(), "no");
    doc.Comments().Add(t.Cell(1, 5).Range(), tag);
    return t;
}

TEST_P(EveryTemplate, FeeTableIsReadBackCellByCellAfterSaving) {
    auto doc = openTemplate(GetParam());
    writeFeeTable(*doc, "TARVEX_1", "Zerlegung nach Nr. 30.1");
    auto again = Document::FromBytes(doc->SaveToBytes());
    long index = tableTaggedWith(*again, "TARVEX_1");
    ASSERT_GT(index, 0);
    Table t = again->Tables().Item(index);
    EXPECT_EQ(t.Cell(1, 1).Range().Text(), "Zerlegung nach Nr. 30.1\r\r\a");
    EXPECT_EQ(t.Cell(3, 3).Range().Text(), "3   \r\a");  // blanks of mask places stay
    EXPECT_EQ(t.Cell(3, 5).Range().Text(), "150,00 €\r\a");
    EXPECT_EQ(t.Cell(4, 1).Range().Text(), "\r\a");
    ASSERT_EQ(t.Cell(3, 5).Range().Comments().Count(), 1);
    EXPECT_EQ(t.Cell(3, 5).Range().Comments().Item(1).Text(), "no");
    EXPECT_EQ(t.Range().Comments().Item(1).Text(), "TARVEX_1");  // the tag is the first
    EXPECT_EQ(again->Tables().Count(), 2);
    EXPECT_EQ(again->Tables().Item(1).Cell(1, 1).Range().Text(), "Auftrag\r\a");
}

// Index of the n-th comment whose text is exactly `text`.
long commentIndex(Document& doc, const std::string& text, int nth = 1) {
    auto texts = commentTexts(doc);
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == text && --nth == 0) return static_cast<long>(i) + 1;
    return 0;
}

bool tableBefore(Table t, Comment c) { return t.Range().End() <= c.Reference().Start(); }

TEST(TablePlacement, FeeTablesStandBeforeTheMarkerInTheOrderWritten) {
    auto doc = openTemplate("template-basic.docx");
    writeFeeTable(*doc, "TARVEX_1", "Erste");
    writeFeeTable(*doc, "TARVEX_2", "Zweite");
    auto saved = Document::FromBytes(doc->SaveToBytes());
    ASSERT_EQ(saved->Tables().Count(), 3);
    EXPECT_EQ(tableTaggedWith(*saved, "TARVEX_1"), 2);
    EXPECT_EQ(tableTaggedWith(*saved, "TARVEX_2"), 3);
    Comment start = saved->Comments().Item(commentIndex(*saved, "lumStart"));
    EXPECT_TRUE(tableBefore(saved->Tables().Item(3), start));
}

TEST(TablePlacement, RewrittenTableTakesItsPredecessorsPlace) {
    auto doc = openTemplate("template-basic.docx");
    writeFeeTable(*doc, "TARVEX_1", "Erste");
    writeFeeTable(*doc, "TARVEX_2", "Zweite");
    // The window opened on table 1 deletes it and inserts the new one where it stood.
    Table old = doc->Tables().Item(tableTaggedWith(*doc, "TARVEX_1"));
    Range place = old.Range();
    old.Delete();
    place.Collapse(CollapseDirection::End);
    Table fresh = doc->Tables().Add(place, 3, 5);
    fresh.Cell(1, 1).Range().InsertAfter("Neu");
    doc->Comments().Add(fresh.Cell(1, 5).Range(), "TARVEX_1");
    EXPECT_FALSE(old.IsValid());
    auto saved = Document::FromBytes(doc->SaveToBytes());
    EXPECT_EQ(tableTaggedWith(*saved, "TARVEX_1"), 2);
    EXPECT_EQ(tableTaggedWith(*saved, "TARVEX_2"), 3);
    EXPECT_EQ(saved->Tables().Item(2).Cell(1, 1).Range().Text(), "Neu\r\a");
    EXPECT_EQ(saved->Tables().Count(), 3);
}

// The totals table as a totals run writes it: at the first "lumStart", collapsed before the mark.
void writeTotals(Document& doc) {
    Comment start = doc.Comments().Item(commentIndex(doc, "lumStart"));
    Range at = start.Reference();
    at.Collapse(CollapseDirection::Start);
    Table totals = doc.Tables().Add(at, 3, 4);
    doc.Comments().Add(totals.Cell(1, 1).Range(), "RE_Summe");
}

TEST(TablePlacement, TotalsAtTheMarkerAfterAllFeeTables) {
    auto doc = openTemplate("template-basic.docx");
    writeFeeTable(*doc, "TARVEX_1", "Erste");
    writeTotals(*doc);
    // The next OK: the old totals go first, then the fee table, then new totals.
    doc->Tables().Item(tableTaggedWith(*doc, "RE_Summe")).Delete();
    writeFeeTable(*doc, "TARVEX_2", "Zweite");
    writeTotals(*doc);
    auto saved = Document::FromBytes(doc->SaveToBytes());
    EXPECT_EQ(saved->Tables().Count(), 4);
    EXPECT_EQ(tableTaggedWith(*saved, "TARVEX_1"), 2);
    EXPECT_EQ(tableTaggedWith(*saved, "TARVEX_2"), 3);
    EXPECT_EQ(tableTaggedWith(*saved, "RE_Summe"), 4);
    EXPECT_TRUE(tableBefore(saved->Tables().Item(4),
                            saved->Comments().Item(commentIndex(*saved, "lumStart"))));
}

TEST(TablePlacement, WithoutMarkerTheTableGoesToTheEnd) {
    auto doc = openTemplate("template-no-start.docx");
    writeFeeTable(*doc, "TARVEX_1", "Erste");
    Range content = doc->Content();
    Table last = doc->Tables().Item(doc->Tables().Count());
    EXPECT_EQ(tableTaggedWith(*doc, "TARVEX_1"), 2);
    EXPECT_EQ(last.Range().End(), content.End() - 1);  // only the closing paragraph follows
    Comment lastMarker = doc->Comments().Item(commentIndex(*doc, "lumAuslagen"));
    EXPECT_LT(lastMarker.Reference().End(), last.Range().Start());
}

TEST(TablePlacement, TwoStartMarkersTheTableGoesToTheLast) {
    auto doc = openTemplate("template-two-starts.docx");
    writeFeeTable(*doc, "TARVEX_1", "Erste");
    Table t = doc->Tables().Item(tableTaggedWith(*doc, "TARVEX_1"));
    Comments c = doc->Comments();
    EXPECT_FALSE(tableBefore(t, c.Item(commentIndex(*doc, "lumStart", 1))));
    EXPECT_TRUE(tableBefore(t, c.Item(commentIndex(*doc, "lumStart", 2))));
}

TEST(TablePlacement, EdgeTemplateUsesOnlyTheExactMarker) {
    auto doc = openTemplate("template-edge.docx");
    writeFeeTable(*doc, "TARVEX_1", "Erste");
    Table t = doc->Tables().Item(tableTaggedWith(*doc, "TARVEX_1"));
    Comments c = doc->Comments();
    EXPECT_FALSE(tableBefore(t, c.Item(commentIndex(*doc, "lumStart "))));  // after the decoy
    EXPECT_TRUE(tableBefore(t, c.Item(commentIndex(*doc, "lumStart"))));
    EXPECT_TRUE(tableBefore(t, c.Item(commentIndex(*doc, "LUMSTART"))));
}

TEST(Cells, OutsideTheTableRaisesNine) {
    auto doc = openTemplate("template-basic.docx");
    Table t = doc->Tables().Item(1);
    for (auto [r, c] : {std::pair{0L, 1L}, {4L, 1L}, {1L, 3L}, {1L, 0L}}) {
        try {
            t.Cell(r, c);
            ADD_FAILURE() << r << "," << c;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 9);
        }
    }
    EXPECT_THROW(doc->Comments().Item(7), Error);
    EXPECT_THROW(doc->Tables().Item(2), Error);
}

TEST(Cells, WritingTwiceAppendsAndBoldCoversTheWholeCell) {
    auto doc = openTemplate("template-basic.docx");
    Table t = doc->Tables().Add(placeForNewTable(*doc), 2, 2);
    Range cell = t.Cell(1, 1).Range();
    cell.InsertAfter("Geb. ");
    t.Cell(1, 1).Range().InsertAfter("V.");
    EXPECT_EQ(t.Cell(1, 1).Range().Text(), "Geb. V.\r\a");
    EXPECT_FALSE(t.Cell(1, 1).Range().Bold());
    t.Cell(1, 1).Range().SetBold(true);
    EXPECT_TRUE(t.Cell(1, 1).Range().Bold());
    t.Cell(2, 2).Range().InsertAfter("x");
    EXPECT_FALSE(t.Cell(2, 2).Range().Bold());
}

TEST(Cells, WidthsKeepGridAndCellsConsistent) {
    auto doc = openTemplate("template-basic.docx");
    Table t = doc->Tables().Add(placeForNewTable(*doc), 3, 5);
    const double widths[] = {1.9, 7.9, 1.7, 3.5, 2.5};
    for (long c = 1; c <= 5; ++c)
        t.Columns().Item(c).SetWidth(Application::CentimetersToPoints(widths[c - 1]));
    const double heading[] = {12, 1, 1, 1};
    for (long c = 1; c <= 4; ++c)
        t.Cell(1, c).SetWidth(Application::CentimetersToPoints(heading[c - 1]));
    auto entries = zipEntries(doc->SaveToBytes());
    const std::string& xml = entries["word/document.xml"];
    EXPECT_NE(
        xml.find("<w:tblGrid><w:gridCol w:w=\"1077\"/><w:gridCol w:w=\"4479\"/><w:gridCol "
                 "w:w=\"964\"/><w:gridCol w:w=\"283\"/><w:gridCol w:w=\"567\"/><w:gridCol "
                 "w:w=\"567\"/><w:gridCol w:w=\"567\"/><w:gridCol w:w=\"1417\"/></w:tblGrid>"),
        std::string::npos);
    EXPECT_NE(xml.find("<w:tcW w:w=\"6803\" w:type=\"dxa\"/><w:gridSpan w:val=\"4\"/>"),
              std::string::npos);
    EXPECT_NEAR(t.Cell(2, 2).Width(), Application::CentimetersToPoints(7.9), 0.05);
}

TEST(Selection, AmountAfterMarkerIsReplacedInPlace) {
    auto doc = openTemplate("template-basic.docx");
    Selection sel = doc->Application().Selection();
    doc->Comments().Item(2).Reference().Select();  // lumGesamt
    sel.Collapse(CollapseDirection::End);
    sel.MoveRight(15, true);
    EXPECT_EQ(sel.Text(), "1.234,56 € ist ");
    sel.Collapse(CollapseDirection::Start);
    sel.MoveRight(9 + 2, true);
    sel.TypeText("   499,80 € ");
    Range para = doc->Comments().Item(2).Reference();
    para.MoveStartWord(-1);
    para.MoveEnd(20);
    EXPECT_EQ(para.Text(), "von    499,80 € ist inne");
    EXPECT_EQ(doc->Comments().Count(), 6);
}

TEST(Ranges, MoveStartBackOneWord) {
    auto doc = Document::FromBytes(minimalDocx(
        "<w:p><w:r><w:t xml:space=\"preserve\">Betrag von  12,50 </w:t></w:r></w:p><w:p/>"));
    Range r = doc->Content();
    r.Collapse(CollapseDirection::Start);
    r.MoveEnd(19);  // "Betrag von  12,50 \r"
    r.Collapse(CollapseDirection::End);
    EXPECT_EQ(r.MoveStartWord(-1), -1);  // the paragraph mark is a word of its own
    EXPECT_EQ(r.Text(), "\r");
    r.Collapse(CollapseDirection::Start);
    r.MoveStartWord(-1);
    EXPECT_EQ(r.Text(), "50 ");
    r.MoveStartWord(-1);
    EXPECT_EQ(r.Text(), ",50 ");
    r.Collapse(CollapseDirection::Start);
    r.MoveEnd(-2);
    r.Collapse(CollapseDirection::End);
    EXPECT_EQ(r.MoveStartWord(-1), -1);
    EXPECT_EQ(r.Text(), "von  ");
    Range start = doc->Content();
    start.Collapse(CollapseDirection::Start);
    EXPECT_EQ(start.MoveStartWord(-1), 0);
}

TEST(Comments, MarkersSplitAcrossRunsAndProofMarksReadWhole) {
    auto doc = Document::FromBytes(minimalDocx(
        R"(<w:p><w:r><w:t xml:space="preserve">Summe </w:t></w:r><w:commentRangeStart w:id="7"/>)"
        R"(<w:bookmarkStart w:id="0" w:name="x"/><w:r w:rsidR="00AB"><w:t>12</w:t></w:r><w:bookmarkEnd w:id="0"/>)"
        R"(<w:proofErr w:type="spellStart"/><w:r><w:t>,5</w:t></w:r><w:commentRangeEnd w:id="7"/>)"
        R"(<w:r><w:commentReference w:id="7"/></w:r><w:r><w:t xml:space="preserve"> €</w:t></w:r></w:p>)",
        {{"word/comments.xml",
          R"(<w:comments xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
          R"(<w:comment w:id="7" w:author="A"><w:p><w:r><w:annotationRef/></w:r><w:proofErr w:type="spellStart"/>)"
          R"(<w:r><w:t>lum</w:t></w:r><w:r w:rsidR="1"><w:t>Start</w:t></w:r><w:proofErr w:type="spellEnd"/></w:p></w:comment></w:comments>)"},
         {"word/_rels/document.xml.rels",
          R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId5" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments" Target="comments.xml"/></Relationships>)"}}));
    ASSERT_EQ(doc->Comments().Count(), 1);
    EXPECT_EQ(doc->Comments().Item(1).Text(), "lumStart");
    EXPECT_EQ(doc->Content().Text(), "Summe 12,5 €\r");
    EXPECT_EQ(windowAfter(doc->Comments().Item(1), 2), " €");
}

TEST(Comments, DeletingARangeCommentRemovesAllItsParts) {
    auto doc = openTemplate("template-image.docx");
    doc->Comments().Item(1).Delete();  // "Bitte prüfen"
    auto entries = zipEntries(doc->SaveToBytes());
    const std::string& body = entries["word/document.xml"];
    EXPECT_EQ(body.find("w:commentRangeStart"), std::string::npos);
    EXPECT_EQ(body.find("w:commentRangeEnd"), std::string::npos);
    EXPECT_EQ(body.find("<w:commentReference w:id=\"0\"/>"), std::string::npos);
    EXPECT_EQ(entries["word/comments.xml"].find("Bitte"), std::string::npos);
    EXPECT_NE(body.find("15.01.2026"), std::string::npos);
    auto again = Document::FromBytes(doc->SaveToBytes());
    EXPECT_EQ(again->Comments().Count(), 6);
}

TEST(Comments, DeletingACommentCleansTheExtendedParts) {
    const std::string w15 = "http://schemas.microsoft.com/office/word/2012/wordml";
    auto bytes = minimalDocx(
        R"(<w:p><w:r><w:t>a</w:t></w:r><w:r><w:commentReference w:id="1"/></w:r></w:p>)",
        {{"word/comments.xml",
          R"(<w:comments xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" xmlns:w14="http://schemas.microsoft.com/office/word/2010/wordml">)"
          R"(<w:comment w:id="1" w:author="A"><w:p w14:paraId="11111111"><w:r><w:t>no</w:t></w:r></w:p></w:comment></w:comments>)"},
         {"word/commentsExtended.xml",
          "<w15:commentsEx xmlns:w15=\"" + w15 +
              "\"><w15:commentEx w15:paraId=\"11111111\" w15:done=\"0\"/><w15:commentEx "
              "w15:paraId=\"22222222\" w15:done=\"0\"/></w15:commentsEx>"},
         {"word/_rels/document.xml.rels",
          R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId5" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments" Target="comments.xml"/>)"
          R"(<Relationship Id="rId6" Type="http://schemas.microsoft.com/office/2011/relationships/commentsExtended" Target="commentsExtended.xml"/></Relationships>)"}});
    auto doc = Document::FromBytes(bytes);
    doc->Comments().Item(1).Delete();
    auto entries = zipEntries(doc->SaveToBytes());
    EXPECT_EQ(entries["word/commentsExtended.xml"].find("11111111"), std::string::npos);
    EXPECT_NE(entries["word/commentsExtended.xml"].find("22222222"), std::string::npos);
    EXPECT_EQ(entries["word/document.xml"].find("commentReference"), std::string::npos);
}

TEST(Comments, FirstCommentAddsThePartTypeAndRelationshipWithFreshIds) {
    auto doc = Document::FromBytes(minimalDocx("<w:p><w:r><w:t>Text</w:t></w:r></w:p>"));
    doc->Comments().Add(doc->Content(), "lumStart");
    doc->Comments().Add(doc->Content(), "zwei\rZeilen");
    auto bytes = doc->SaveToBytes();
    auto entries = zipEntries(bytes);
    EXPECT_NE(entries["[Content_Types].xml"].find("/word/comments.xml"), std::string::npos);
    EXPECT_NE(entries["word/_rels/document.xml.rels"].find("relationships/comments"),
              std::string::npos);
    auto again = Document::FromBytes(bytes);
    EXPECT_EQ(commentTexts(*again), (std::vector<std::string>{"lumStart", "zwei\rZeilen"}));
    EXPECT_NE(entries["word/document.xml"].find("<w:commentReference w:id=\"1\"/>"),
              std::string::npos);
}

// Comment and cell lookups are indexed; each edit must show at once, without a reload.
TEST(Comments, EditsShowAtOnceInCommentsAndCellRanges) {
    auto doc = Document::FromBytes(minimalDocx("<w:p><w:r><w:t>Text</w:t></w:r></w:p>"));
    EXPECT_EQ(doc->Comments().Count(), 0);
    Table t = doc->Tables().Add(doc->Content(), 2, 5);
    t.Cell(2, 5).Range().InsertAfter("9,50 €");
    doc->Comments().Add(t.Cell(2, 5).Range(), "no");
    EXPECT_EQ(commentTexts(*doc), std::vector<std::string>{"no"});
    t.Rows().Add();
    t.Cell(3, 5).Range().InsertAfter("1");
    EXPECT_EQ(t.Cell(3, 5).Range().Text(), "1\r\a");
    ASSERT_EQ(t.Cell(2, 5).Range().Comments().Count(), 1);
    EXPECT_EQ(t.Cell(2, 5).Range().Comments().Item(1).Text(), "no");
    doc->Comments().Add(t.Cell(3, 5).Range(), "19");
    EXPECT_EQ(commentTexts(*doc), (std::vector<std::string>{"no", "19"}));
    doc->Comments().Item(1).Delete();
    EXPECT_EQ(commentTexts(*doc), std::vector<std::string>{"19"});
    EXPECT_EQ(t.Cell(2, 5).Range().Comments().Count(), 0);
    EXPECT_EQ(t.Cell(2, 5).Range().Text(), "9,50 €\r\a");
}

TEST(Shapes, PaymentTextBoxIsNamedBorderlessAndFoundAgain) {
    auto doc = openTemplate("template-image.docx");
    EXPECT_EQ(doc->Shapes().Count(), 1);  // the stamp
    Shape box = doc->Shapes().AddTextbox(TextOrientation::Horizontal, 70.5, 766.5, 450.75, 54);
    box.SetName("Zahlungsziel");
    box.SetFillVisible(false);
    box.SetFillTransparency(1.0);
    box.SetLineVisible(false);
    box.SetRelativeVerticalPosition(RelativeVerticalPosition::Page);
    box.SetTop(Application::CentimetersToPoints(25));
    box.Select();
    Selection sel = doc->Application().Selection();
    sel.SetParagraphAlignment(Alignment::Center);
    sel.TypeText("Zahlbar bis  15.03.2011 .");
    auto again = Document::FromBytes(doc->SaveToBytes());
    ASSERT_EQ(again->Shapes().Count(), 2);
    Shape found = again->Shapes().Item(2);
    EXPECT_EQ(found.Name(), "Zahlungsziel");
    EXPECT_EQ(found.TextRange().Text(), "Zahlbar bis  15.03.2011 .");
    EXPECT_EQ(found.TextRange().ParagraphAlignment(), Alignment::Center);
    EXPECT_FALSE(found.FillVisible());
    EXPECT_FALSE(found.LineVisible());
    EXPECT_NEAR(found.Top(), 708.66, 0.01);
    EXPECT_EQ(found.GetRelativeVerticalPosition(), RelativeVerticalPosition::Page);
    EXPECT_EQ(again->Shapes().Item(1).Name(), "Stempel");
    found.Delete();
    EXPECT_EQ(again->Shapes().Count(), 1);
    EXPECT_EQ(again->Content().Text(), openTemplate("template-image.docx")->Content().Text());
}

}  // namespace
}  // namespace tarvex::word
