// Formatting a new table the way the fee table and totals writers do.
#include <gtest/gtest.h>

#include "word_test_support.h"

namespace tarvex::word {
namespace {

using namespace test;

TEST(Formatting, SelectionBordersAlignmentAndRowsApplyToTheTable) {
    auto doc = openTemplate("template-basic.docx");
    Table t = doc->Tables().Add(placeForNewTable(*doc), 3, 4);
    Selection sel = doc->Application().Selection();
    t.Select();
    for (int i = -1; i >= -6; --i)
        sel.Borders(static_cast<BorderIndex>(i)).SetLineStyle(LineStyle::None);
    sel.SetParagraphAlignment(Alignment::Right);
    t.Columns().Item(1).Select();
    sel.SetParagraphAlignment(Alignment::Left);
    Row added = t.Rows().Add();
    added.SetHeight(6, RowHeightRule::Exactly);
    auto again = Document::FromBytes(doc->SaveToBytes());
    Table back = again->Tables().Item(2);
    for (int i = -1; i >= -6; --i)
        EXPECT_EQ(back.Borders(static_cast<BorderIndex>(i)).GetLineStyle(), LineStyle::None);
    EXPECT_EQ(again->Tables().Item(1).Borders(BorderIndex::Top).GetLineStyle(), LineStyle::None)
        << "the foreign table draws its lines per cell and is left alone";
    EXPECT_EQ(back.Cell(2, 1).Range().ParagraphAlignment(), Alignment::Left);
    EXPECT_EQ(back.Cell(2, 2).Range().ParagraphAlignment(), Alignment::Right);
    ASSERT_EQ(back.Rows().Count(), 4);
    EXPECT_EQ(back.Cell(4, 1).Range().ParagraphAlignment(), Alignment::Left);  // shaped like row 3
    EXPECT_EQ(back.Rows().Item(4).HeightRule(), RowHeightRule::Exactly);
    EXPECT_DOUBLE_EQ(back.Rows().Item(4).Height(), 6);
    EXPECT_EQ(back.Rows().Item(3).HeightRule(), RowHeightRule::Auto);
}

TEST(Formatting, DeletingCellContentKeepsTheCell) {
    auto doc = openTemplate("template-basic.docx");
    Table t = doc->Tables().Add(placeForNewTable(*doc), 2, 2);
    t.Cell(1, 2).Range().InsertAfter("Rechnungsbetrag\r\nzweite");
    t.Cell(1, 2).Range().Delete();
    EXPECT_EQ(t.Cell(1, 2).Range().Text(), "\r\a");
    t.Cell(1, 2).Range().InsertAfter("Gesamtsumme");
    t.Cell(1, 2).Range().SetBold(true);
    EXPECT_EQ(t.Cell(1, 2).Range().Text(), "Gesamtsumme\r\a");
    EXPECT_TRUE(t.Cell(1, 2).Range().Bold());
    EXPECT_EQ(t.Cell(2, 1).Range().Text(), "\r\a");
}

TEST(Formatting, DeletedTableTakesItsCommentsAlong) {
    auto doc = openTemplate("template-basic.docx");
    long before = doc->Comments().Count();
    Table t = doc->Tables().Add(placeForNewTable(*doc), 2, 4);
    doc->Comments().Add(t.Cell(1, 1).Range(), "RE_Summe");
    t.Delete();
    EXPECT_EQ(doc->Comments().Count(), before);
    auto entries = zipEntries(doc->SaveToBytes());
    EXPECT_EQ(entries["word/comments.xml"].find("RE_Summe"), std::string::npos);
    EXPECT_THROW(t.Cell(1, 1), Error);
}

TEST(Formatting, HidingCommentsWritesTheRevisionView) {
    auto doc = openTemplate("template-basic.docx");
    doc->SetShowComments(false);
    auto entries = zipEntries(doc->SaveToBytes());
    EXPECT_NE(entries["word/settings.xml"].find("<w:revisionView w:comments=\"0\"/>"),
              std::string::npos);
    // Saved that way, hiding them again leaves the settings as they are stored.
    auto again = Document::FromBytes(doc->SaveToBytes());
    again->SetShowComments(false);
    EXPECT_EQ(zipEntries(again->SaveToBytes())["word/settings.xml"], entries["word/settings.xml"]);
    again->SetShowComments(true);
    EXPECT_NE(zipEntries(again->SaveToBytes())["word/settings.xml"].find("w:comments=\"1\""),
              std::string::npos);
}

}  // namespace
}  // namespace tarvex::word
