// The object model on the real templates and small packages: markers, the foreign table,
// cells, ranges and comments.
#include <gtest/gtest.h>

#include "common/error_number.h"
#include "word_test_support.h"

namespace tarvex::word {
namespace {

using namespace test;
using tarvex::testing::errorNumber;

// Text after a comment's reference mark, as the totals update reads it.
std::string windowAfter(Comment c, long count = 15) {
    Range r = c.Reference();
    r.Collapse(CollapseDirection::End);
    r.MoveEnd(count);
    return r.Text();
}

// Every template: its markers in document order with the text after the first ones, and its
// own table, found although it carries no comment.
TEST(Markers, FoundInDocumentOrderWithTheTextAfterThemBesideTheForeignTable) {
    const struct {
        std::string file;
        std::vector<std::string> texts;
        std::vector<std::string> windows;  // for the texts in the same order
    } cases[] = {
        {"template-basic.docx",
         {"lumStart", "lumGesamt", "lumNetto", "lumMwSt", "lumBrutto", "lumAuslagen"},
         {"\rDer Rechnungsb", "1.234,56 € ist ", "1.037,44 € und ", "197,12 € (19 %)",
          "wird mit der Sc", "sind im Rechnun"}},
        {"template-no-start.docx",
         {"lumGesamt", "lumNetto", "lumMwSt", "lumBrutto", "lumAuslagen"},
         {"1.234,56 € ist "}},
        {"template-two-starts.docx",
         {"lumStart", "lumStart", "lumGesamt", "lumNetto", "lumMwSt", "lumBrutto", "lumAuslagen"},
         {}},
        {"template-image.docx",
         {"Bitte prüfen", "lumStart", "lumGesamt", "lumNetto", "lumMwSt", "lumBrutto",
          "lumAuslagen"},
         {"\rRechnung Nr. 2", "\rDer Rechnungsb", "1.234,56 € ist "}},
        {"template-edge.docx",
         {"lumStart ", "lumStart", "LUMSTART", "lumNetto", "lumMwSt", "lumBrutto", "lumAuslagen",
          "lumGesamt", "lumGesamt"},
         {"\r\r\rNettobetrag:", "\r\rNettobetrag: ", "\rNettobetrag: 1", "1.037,44 €\rUmsa",
          "\rZahlbar ohne A", "beträgt 1.234,5", "12,50 EUR (umsa", "1.234,56€ inklu",
          "1.234,56 € unte"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto doc = openTemplate(c.file);
        EXPECT_EQ(commentTexts(*doc), c.texts);
        for (std::size_t i = 0; i < c.windows.size(); ++i)
            EXPECT_EQ(windowAfter(doc->Comments().Item(static_cast<long>(i) + 1)), c.windows[i])
                << c.texts[i];
        ASSERT_EQ(doc->Tables().Count(), 1);
        Table t = doc->Tables().Item(1);
        EXPECT_EQ(t.Rows().Count(), 3);
        EXPECT_EQ(t.Cell(1, 1).Range().Text(), "Auftrag\r\a");
        EXPECT_EQ(t.Cell(3, 2).Range().Text(), "112/3\r\a");
        EXPECT_EQ(t.Range().Comments().Count(), 0);
    }
}

TEST(Cells, OutsideTheTableOrBeyondTheCountRaiseNine) {
    auto doc = openTemplate("template-basic.docx");
    Table t = doc->Tables().Item(1);
    for (auto [r, c] : {std::pair{0L, 1L}, {4L, 1L}, {1L, 3L}, {1L, 0L}})
        EXPECT_EQ(errorNumber([&] { t.Cell(r, c); }), 9) << r << "," << c;
    EXPECT_EQ(errorNumber([&] { doc->Comments().Item(7); }), 9);
    EXPECT_EQ(errorNumber([&] { doc->Tables().Item(2); }), 9);
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
        commentsPart(
            R"(<w:comment w:id="7" w:author="A"><w:p><w:r><w:annotationRef/></w:r><w:proofErr w:type="spellStart"/>)"
            R"(<w:r><w:t>lum</w:t></w:r><w:r w:rsidR="1"><w:t>Start</w:t></w:r><w:proofErr w:type="spellEnd"/></w:p></w:comment>)")));
    ASSERT_EQ(doc->Comments().Count(), 1);
    EXPECT_EQ(doc->Comments().Item(1).Text(), "lumStart");
    EXPECT_EQ(doc->Content().Text(), "Summe 12,5 €\r");
    EXPECT_EQ(windowAfter(doc->Comments().Item(1), 2), " €");
}

TEST(Comments, TextOfPlainAndOfRicherEntriesReadsAsTheirRange) {
    struct Case {
        const char* entry;
        const char* text;
    } cases[] = {
        {R"(<w:p><w:r><w:t>lum</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>Netto</w:t></w:r></w:p>)",
         "lumNetto"},
        {R"(<w:p><w:pPr/><w:r><w:t>eins</w:t></w:r></w:p><w:p/><w:p><w:r><w:t>drei</w:t></w:r></w:p>)",
         "eins\r\rdrei"},
        {R"(<w:p><w:r><w:t>a</w:t><w:tab/><w:t>b</w:t></w:r></w:p>)", "a\tb"},
        {R"(<w:p><w:hyperlink><w:r><w:t>verlinkt</w:t></w:r></w:hyperlink></w:p>)", "verlinkt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        auto doc = Document::FromBytes(minimalDocx(
            R"(<w:p><w:r><w:t>x</w:t></w:r><w:r><w:commentReference w:id="3"/></w:r></w:p>)",
            commentsPart(std::string(R"(<w:comment w:id="3" w:author="A">)") + c.entry +
                         "</w:comment>")));
        ASSERT_EQ(doc->Comments().Count(), 1);
        EXPECT_EQ(doc->Comments().Item(1).Text(), c.text);
        EXPECT_EQ(doc->Comments().Item(1).Range().Text(), c.text);
    }
}

// A comment object read once stays tied to its mark: once the mark's paragraph is deleted the
// object reports the comment as deleted, and once the entry itself goes, as having none.
TEST(Comments, ACommentReadBeforeItsMarkOrEntryWentReportsItDeleted) {
    auto doc = Document::FromBytes(minimalDocx(
        R"(<w:p><w:r><w:t>a</w:t></w:r><w:r><w:commentReference w:id="3"/></w:r></w:p>)"
        R"(<w:p><w:r><w:t>b</w:t></w:r><w:r><w:commentReference w:id="4"/></w:r></w:p>)",
        commentsPart(R"(<w:comment w:id="3"><w:p><w:r><w:t>drei</w:t></w:r></w:p></w:comment>)"
                     R"(<w:comment w:id="4"><w:p><w:r><w:t>vier</w:t></w:r></w:p></w:comment>)")));
    Comment drei = doc->Comments().Item(1);
    Comment vier = doc->Comments().Item(2);
    ASSERT_EQ(drei.Text(), "drei");
    ASSERT_EQ(vier.Text(), "vier");
    Range ersterAbsatz = doc->Content();  // "a", the mark of comment 3, the paragraph mark
    ersterAbsatz.Collapse(CollapseDirection::Start);
    ersterAbsatz.MoveEnd(3);
    ersterAbsatz.Delete();
    EXPECT_EQ(errorNumber([&] { (void)drei.Text(); }), errc::objectDeleted);
    EXPECT_EQ(vier.Text(), "vier");
    doc->Comments().Item(1).Delete();
    EXPECT_EQ(errorNumber([&] { (void)vier.Text(); }), errc::objectDeleted);
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

// Comment and cell lookups are indexed and comment texts kept between reads; each edit
// (also of a comment's own text) must show at once, without a reload.
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
    doc->Comments().Item(2).Range().InsertAfter("0");  // a comment's own text edited
    EXPECT_EQ(commentTexts(*doc), (std::vector<std::string>{"no", "190"}));
    doc->Comments().Item(1).Delete();
    EXPECT_EQ(commentTexts(*doc), std::vector<std::string>{"190"});
    EXPECT_EQ(t.Cell(2, 5).Range().Comments().Count(), 0);
    EXPECT_EQ(t.Cell(2, 5).Range().Text(), "9,50 €\r\a");
}

}  // namespace
}  // namespace tarvex::word
