// The character model is kept per block and updated only where an edit touched it. After any
// sequence of edits it must describe the document exactly as a model built afresh from the
// saved bytes does; and what the blocks' summaries skip must still be found.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "word_test_support.h"

namespace tarvex::word {
namespace {

using namespace test;

// Every position and text a caller can observe: the whole content, each table's cells with
// their ranges, and each comment with the position of its reference mark.
std::string observe(Document& doc) {
    std::ostringstream out;
    Range all = doc.Content();
    out << "content " << all.End() << " " << all.Text() << "\n";
    Tables tables = doc.Tables();
    for (long t = 1; t <= tables.Count(); ++t) {
        Table table = tables.Item(t);
        Range r = table.Range();
        out << "table " << r.Start() << "-" << r.End() << "\n";
        for (long row = 1; row <= table.Rows().Count(); ++row)
            for (long c = 1; c <= table.Rows().Item(row).CellCount(); ++c) {
                Range cell = table.Cell(row, c).Range();
                out << " " << cell.Start() << "-" << cell.End() << " " << cell.Text() << " ["
                    << cell.Comments().Count() << "]";
            }
        out << "\n";
    }
    Comments comments = doc.Comments();
    for (long i = 1; i <= comments.Count(); ++i) {
        out << "comment " << comments.Item(i).Reference().Start() << " "
            << comments.Item(i).Text() << "\n";
        EXPECT_EQ(comments.Item(i).Text(), comments.Item(i).Range().Text());
    }
    out << "shapes " << doc.Shapes().Count() << "\n";
    return out.str();
}

const std::string kBody =
    R"(<w:p><w:r><w:t>Anschreiben</w:t></w:r></w:p>)"
    R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>a1</w:t></w:r></w:p></w:tc><w:tc><w:p/></w:tc></w:tr>)"
    R"(<w:tr><w:tc><w:p><w:r><w:t>b1</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>b2</w:t></w:r></w:p></w:tc></w:tr></w:tbl>)"
    R"(<w:p><w:r><w:t xml:space="preserve">Mitte </w:t></w:r><w:r><w:commentReference w:id="0"/></w:r></w:p>)"
    R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>c1</w:t></w:r></w:p></w:tc></w:tr></w:tbl>)"
    R"(<w:p><w:r><w:t>Schluss</w:t></w:r></w:p>)";
const std::map<std::string, std::string> kCommentsPart = commentsPart(
    R"(<w:comment w:id="0" w:author="A"><w:p><w:r><w:t>lumNetto</w:t></w:r></w:p></w:comment>)");

struct EditCase {
    const char* name;
    std::function<void(Document&)> edit;
};

// Readable in test names and failure messages.
[[maybe_unused]] void PrintTo(const EditCase& c, std::ostream* out) { *out << c.name; }

class EditedModel : public ::testing::TestWithParam<EditCase> {};

// Ranges held across the edits, and everything read after them, match a fresh model.
TEST_P(EditedModel, MatchesTheModelOfTheSavedDocument) {
    auto doc = Document::FromBytes(minimalDocx(kBody, kCommentsPart));
    Range last = doc->Tables().Item(2).Cell(1, 1).Range();  // held while the edits happen
    GetParam().edit(*doc);
    auto fresh = Document::FromBytes(doc->SaveToBytes());
    EXPECT_EQ(observe(*doc), observe(*fresh));
    if (doc->Tables().Count() >= 2) {
        Tables tables = fresh->Tables();
        Range again = tables.Item(tables.Count()).Cell(1, 1).Range();
        EXPECT_EQ(last.Start(), again.Start());
        EXPECT_EQ(last.Text(), again.Text());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditedModel,
    ::testing::Values(
        EditCase{"TextInAnEarlierCell",
                 [](Document& d) { d.Tables().Item(1).Cell(1, 2).Range().InsertAfter("neu"); }},
        EditCase{"ParagraphsInTheFirstParagraph",
                 [](Document& d) {
                     Range r = d.Tables().Item(1).Range();
                     r.Collapse(CollapseDirection::Start);
                     r.InsertBefore("eins\rzwei\r\ndrei");
                 }},
        EditCase{"TableAddedAtTheStart",
                 [](Document& d) {
                     Range r = d.Content();
                     r.Collapse(CollapseDirection::Start);
                     Table added = d.Tables().Add(r, 2, 2);
                     added.Cell(2, 2).Range().InsertAfter("x");
                 }},
        EditCase{"FirstTableDeleted", [](Document& d) { d.Tables().Item(1).Delete(); }},
        EditCase{"RowAdded",
                 [](Document& d) {
                     d.Tables().Item(1).Rows().Add();
                     d.Tables().Item(1).Cell(3, 1).Range().InsertAfter("r3");
                 }},
        EditCase{"CommentAddedInACellAndTheOldOneDeleted",
                 [](Document& d) {
                     d.Comments().Add(d.Tables().Item(1).Cell(2, 2).Range(), "no");
                     d.Comments().Item(1).Delete();
                 }},
        EditCase{"SelectionTypedOver",
                 [](Document& d) {
                     d.Tables().Item(1).Cell(2, 1).Select();
                     d.Application().Selection().TypeText("getippt");
                 }},
        EditCase{"TextBoxAddedAndRemoved",
                 [](Document& d) {
                     Shape box = d.Shapes().AddTextbox(TextOrientation::Horizontal, 10, 10,
                                                       100, 20);
                     box.TextRange().InsertAfter("Zahlungsziel");
                     d.Shapes().Item(1).Delete();
                     d.Shapes().AddTextbox(TextOrientation::Horizontal, 10, 10, 100, 20);
                 }},
        EditCase{"RangeAcrossBlocksDeleted",
                 [](Document& d) {
                     Range all = d.Content();
                     Range r = d.Tables().Item(1).Range();
                     r.Collapse(CollapseDirection::End);
                     r.MoveEnd(4);
                     r.Delete();
                     EXPECT_GT(all.End(), 0);
                 }}),
    [](const ::testing::TestParamInfo<EditCase>& c) { return c.param.name; });

// Writing a table cell by cell re-reads only the cells an edit touched and copies the others.
// After every step of a long sequence of cell edits, with a nested table, comment marks and a
// drawing in cells no edit touches, the model matches a fresh one.
TEST(CellByCellEdits, EveryStepMatchesTheModelOfTheSavedDocument) {
    const std::string cell = R"(<w:tc><w:p><w:r><w:t>z</w:t></w:r></w:p></w:tc>)";
    const std::string nested =
        R"(<w:tc><w:tbl><w:tr><w:tc><w:p><w:r><w:t>innen</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/></w:tc>)";
    const std::string marked =
        R"(<w:tc><w:p><w:commentRangeStart w:id="0"/><w:r><w:t>Netto</w:t></w:r><w:commentRangeEnd w:id="0"/>)"
        R"(<w:r><w:commentReference w:id="0"/></w:r></w:p></w:tc>)";
    const std::string drawing =
        R"(<w:tc><w:p><w:r><w:drawing><wp:anchor xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" relativeHeight="251659300">)"
        R"(<wp:docPr id="3" name="Bild"/></wp:anchor></w:drawing></w:r></w:p></w:tc>)";
    auto doc = Document::FromBytes(minimalDocx(
        R"(<w:p><w:r><w:t>Kopf</w:t></w:r></w:p><w:tbl>)" "<w:tr>" + cell + nested + cell +
            "</w:tr><w:tr>" + marked + drawing + cell + "</w:tr><w:tr>" + cell + cell + cell +
            R"(</w:tr></w:tbl><w:p><w:r><w:t>Fuss</w:t></w:r></w:p>)",
        kCommentsPart));
    ASSERT_EQ(doc->Shapes().Count(), 1);
    auto table = [&] { return doc->Tables().Item(1); };
    std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"last cell", [&] { table().Cell(3, 3).Range().InsertAfter("33"); }},
        {"nested cell", [&] {  // the range starts inside the nested table
             Range r = table().Cell(1, 2).Range();
             r.Collapse(CollapseDirection::Start);
             r.InsertAfter("!");
         }},
        {"comment added", [&] { doc->Comments().Add(table().Cell(1, 1).Range(), "no"); }},
        {"row added", [&] { table().Rows().Add(); }},
        {"new row typed", [&] { table().Cell(4, 2).Range().InsertAfter("neu\rzweite Zeile"); }},
        {"text deleted", [&] {
             Range r = table().Cell(3, 3).Range();
             r.MoveEnd(-1);
             r.Delete();
         }},
        {"old comment deleted", [&] { doc->Comments().Item(2).Delete(); }},
        {"many cells", [&] {
             for (long row = 1; row <= 4; ++row)
                 for (long c = 1; c <= 3; ++c) {
                     table().Cell(row, c).Range().InsertAfter("+");
                     EXPECT_GT(doc->Content().End(), 0);  // a read between the edits
                 }
         }},
        {"nested text deleted", [&] {
             Range r = table().Cell(1, 2).Range();
             r.Collapse(CollapseDirection::Start);
             r.MoveEnd(3);
             r.Delete();
         }},
        {"table deleted", [&] { table().Delete(); }},
    };
    for (const auto& [name, step] : steps) {
        step();
        auto fresh = Document::FromBytes(doc->SaveToBytes());
        ASSERT_EQ(observe(*doc), observe(*fresh)) << "after: " << name;
        EXPECT_EQ(doc->Shapes().Count(), name == "table deleted" ? 0 : 1) << "after: " << name;
    }
}

// A table nobody has read inside yet is only counted; its cells' text and comments are read
// from the cells alone. They must read as they do once the whole table has been read.
TEST(CountedTables, CellsReadAloneMatchTheFullyReadTable) {
    auto cells = [](Document& d) {
        std::string out;
        Tables tables = d.Tables();
        for (long t = 1; t <= tables.Count(); ++t)
            for (long row = 1; row <= tables.Item(t).Rows().Count(); ++row)
                for (long c = 1; c <= tables.Item(t).Rows().Item(row).CellCount(); ++c) {
                    Range cell = tables.Item(t).Cell(row, c).Range();
                    out += cell.Text() + "|" + std::to_string(cell.Comments().Count()) + "\n";
                }
        return out;
    };
    const std::vector<std::uint8_t> bytes = minimalDocx(
        R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>Betrag</w:t></w:r><w:r><w:tab/></w:r></w:p><w:p/></w:tc>)"
        R"(<w:tc><w:p><w:r><w:t>1.250,00 €</w:t></w:r><w:r><w:commentReference w:id="0"/></w:r></w:p></w:tc></w:tr>)"
        R"(<w:tr><w:tc><w:tbl><w:tr><w:tc><w:p><w:r><w:t>innen</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/></w:tc>)"
        R"(<w:tc><w:p/></w:tc></w:tr>)"
        // Cells read straight from their runs (marks, properties, several paragraphs, no
        // paragraph at all) and cells with anything richer, read from their items.
        R"(<w:tr><w:tc><w:tcPr/><w:p><w:pPr/><w:bookmarkStart w:id="1" w:name="m"/><w:proofErr/>)"
        R"(<w:r><w:rPr/><w:t xml:space="preserve">Gebühr </w:t></w:r><w:bookmarkEnd w:id="1"/></w:p>)"
        R"(<w:p><w:r><w:lastRenderedPageBreak/><w:t>30.6 Grenz</w:t><w:t>feststellung</w:t></w:r></w:p></w:tc>)"
        R"(<w:tc><w:tcPr/></w:tc>)"
        R"(<w:tc><w:p><w:r><w:t>a</w:t><w:br/><w:t>b</w:t></w:r></w:p></w:tc>)"
        R"(<w:tc><w:p><w:hyperlink><w:r><w:t>verlinkt</w:t></w:r></w:hyperlink></w:p></w:tc></w:tr>)"
        R"(</w:tbl><w:p/>)",
        kCommentsPart);
    auto counted = Document::FromBytes(bytes);
    const std::string readAlone = cells(*counted);
    auto whole = Document::FromBytes(bytes);
    EXPECT_FALSE(whole->Content().Text().empty());  // reads every item
    EXPECT_EQ(readAlone, cells(*whole));
    EXPECT_NE(readAlone.find("1.250,00 €\r\a|1"), std::string::npos) << readAlone;
    EXPECT_NE(readAlone.find("Gebühr \r30.6 Grenzfeststellung\r\a|0\n\r\a|0\na\vb\r\a|0\n"
                             "verlinkt\r\a|0"),
              std::string::npos)
        << readAlone;
}

// Positions after an edit near the top of a long document are brought up to date only when a
// read needs them: reads far below the edit, then near it, then below again see the same
// positions as a fresh model.
TEST(LongDocument, ReadsBelowAndAboveAnEditSeeFreshPositions) {
    std::string body = R"(<w:tbl><w:tr><w:tc><w:p/></w:tc><w:tc><w:p/></w:tc></w:tr></w:tbl>)";
    for (int i = 0; i < 300; ++i)
        body += "<w:p><w:r><w:t>Absatz " + std::to_string(i) + "</w:t></w:r></w:p>";
    body += R"(<w:p><w:r><w:t>Ende</w:t></w:r><w:r><w:commentReference w:id="0"/></w:r></w:p>)";
    auto doc = Document::FromBytes(minimalDocx(body, kCommentsPart));
    auto reference = [&](Document& d) { return d.Comments().Item(1).Reference().Start(); };
    std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"cell typed", [&] { doc->Tables().Item(1).Cell(1, 2).Range().InsertAfter("1.250,00"); }},
        {"paragraph split at the top", [&] {
             Range r = doc->Content();
             r.Collapse(CollapseDirection::Start);
             r.InsertBefore("Kopf\r");
         }},
        {"paragraphs in the middle deleted", [&] {
             Range r = doc->Content();
             r.Collapse(CollapseDirection::Start);
             r.MoveEnd(1200);
             r.Collapse(CollapseDirection::End);
             r.MoveEnd(300);
             r.Delete();
         }},
    };
    for (const auto& [name, step] : steps) {
        step();
        auto fresh = Document::FromBytes(doc->SaveToBytes());
        EXPECT_EQ(reference(*doc), reference(*fresh)) << "after: " << name;
        EXPECT_EQ(doc->Tables().Item(1).Cell(1, 2).Range().Start(),
                  fresh->Tables().Item(1).Cell(1, 2).Range().Start());
        ASSERT_EQ(observe(*doc), observe(*fresh)) << "after: " << name;
    }
}

// Marks and drawings inside content the flattening does not read (deleted text, a text box,
// a mark between paragraphs) are still found: ids stay unique, removals are complete.
TEST(BlockSummaries, MarksAndDrawingsOutsideTheTextAreStillFound) {
    auto doc = Document::FromBytes(minimalDocx(
        R"(<w:commentRangeStart w:id="0"/>)"
        R"(<w:p><w:r><w:t>Text</w:t></w:r><w:r><w:commentReference w:id="0"/></w:r></w:p>)"
        R"(<w:p><w:del w:id="90" w:author="A"><w:r><w:commentReference w:id="7"/></w:r></w:del></w:p>)"
        R"(<w:p><w:r><w:drawing><wp:anchor xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" relativeHeight="251659300">)"
        R"(<wp:docPr id="41" name="Bild"/></wp:anchor></w:drawing></w:r></w:p>)",
        kCommentsPart));
    EXPECT_EQ(doc->Shapes().Count(), 1);
    doc->Comments().Add(doc->Content(), "neu");
    doc->Shapes().AddTextbox(TextOrientation::Horizontal, 10, 10, 100, 20);
    doc->Comments().Item(1).Delete();  // the comment whose range starts between paragraphs
    const std::string xml = zipEntries(doc->SaveToBytes())["word/document.xml"];
    EXPECT_NE(xml.find(R"(w:commentReference w:id="8")"), std::string::npos) << xml;
    EXPECT_EQ(xml.find(R"(w:commentRangeStart w:id="0")"), std::string::npos);
    EXPECT_NE(xml.find(R"(docPr id="42")"), std::string::npos);
    EXPECT_NE(xml.find(R"(relativeHeight="251659301")"), std::string::npos);
    EXPECT_EQ(doc->Shapes().Count(), 2);
}

}  // namespace
}  // namespace tarvex::word
