#include "platform/ui/masked_field.h"

#include <gtest/gtest.h>

#include "common/error_number.h"
#include "platform/ui/form.h"

using tarvex::testing::errorNumber;

using namespace tarvex;
using namespace tarvex::ui;

namespace {

// A loaded form with one "####,##" share field and one "####" count field.
struct Fields : ::testing::Test {
    Form form{"frmTest", [](Form& f) {
                  f.addMaskedField("mskBezug", "####,##");
                  f.addMaskedField("mskAGP", "####");
              }};
    MaskedField& share = form.masked("mskBezug");
    MaskedField& count = form.masked("mskAGP");
};

TEST_F(Fields, TextIsPaddedWithPromptsAndKeepsLiteralsInPlace) {
    EXPECT_EQ(count.text(), "    ");
    EXPECT_EQ(share.text(), "    ,  ");
    EXPECT_EQ(share.maxLength(), 7);
    share.setText("5");
    EXPECT_EQ(share.text(), "5   ,  ");
    share.setText("1000,00");
    EXPECT_EQ(share.text(), "1000,00");
    count.setText("25  ");
    EXPECT_EQ(count.text(), "25  ");
    EXPECT_EQ(count.clipText(), "25");
}

TEST_F(Fields, InvalidAssignmentRaises380AndKeepsTheOldText) {
    count.setText("12");
    share.setText("1000,00");
    for (const char* bad : {"12345", "12a", "1.000", "-1"}) {
        EXPECT_EQ(errorNumber([&] { count.setText(bad); }), 380) << bad;
        EXPECT_EQ(count.text(), "12  ") << bad;
    }
    EXPECT_THROW(share.setText("1000.00"), Error);   // wrong literal
    EXPECT_THROW(share.setText("1000,000"), Error);  // too long
    EXPECT_EQ(share.text(), "1000,00");
}

// Keys typed into a field with the given text and selection: the text and selection after. A
// digit replaces the selection; literals are skipped, or typed to move past them; keys past the
// end, non-digits and the comma of a full share are refused, keeping text and selection;
// backspace blanks the digit before the caret across a literal.
TEST_F(Fields, TypingFillsMaskPositionsFromTheSelection) {
    const struct {
        const char* field;
        const char* text;
        int selStart, selLength;
        std::vector<int> keys;
        const char* expected;
        int selStartAfter, selLengthAfter;
    } cases[] = {{"mskBezug", "1000,00", 0, 255, {'5'}, "5   ,  ", 1, 0},
                 {"mskBezug", "", 0, 0, {'1', '2', '3', '4', '5'}, "1234,5 ", 6, 0},
                 {"mskBezug", "", 0, 0, {'7', ',', '2', '5'}, "7   ,25", 7, 0},
                 {"mskAGP", "", 0, 0, {'1', '2', '3', '4', '5'}, "1234", 4, 0},
                 {"mskAGP", "12", 0, 4, {'a', ' ', '-', ',', 0x00E4}, "12  ", 0, 4},
                 {"mskBezug", "1000,00", 5, 2, {','}, "1000,00", 5, 2},
                 {"mskBezug", "1234,56", 5, 0, {kKeyBackspace}, "123 ,56", 3, 0}};
    for (const auto& t : cases) {
        SCOPED_TRACE(::testing::Message() << t.field << " \"" << t.text << "\"");
        MaskedField& f = form.masked(t.field);
        f.setText(t.text);
        f.setSelStart(t.selStart);
        f.setSelLength(t.selLength);
        for (int key : t.keys) f.applyKey(key);
        EXPECT_EQ(f.text(), t.expected);
        EXPECT_EQ(f.selStart(), t.selStartAfter);
        EXPECT_EQ(f.selLength(), t.selLengthAfter);
    }
}

TEST_F(Fields, SelectionIsClampedToTheText) {
    count.setSelStart(10);
    EXPECT_EQ(count.selStart(), 4);
    count.setSelStart(1);
    count.setSelLength(255);
    EXPECT_EQ(count.selLength(), 3);
    EXPECT_THROW(count.setSelLength(-1), Error);
    EXPECT_THROW(count.setSelStart(-1), Error);
}

TEST(TextBox, TypingHonoursMaxLengthAndCountsCharactersNotBytes) {
    Form form("frmTest", [](Form& f) { f.addTextBox("txtGebäude").setMaxLength(3); });
    TextBox& box = form.textBox("txtGebäude");
    EXPECT_TRUE(box.applyKey(0x00C4));  // Ä
    EXPECT_TRUE(box.applyKey('b'));
    EXPECT_TRUE(box.applyKey(0x00DF));  // ß
    EXPECT_FALSE(box.applyKey('x'));
    EXPECT_EQ(box.text(), "Äbß");
    EXPECT_EQ(box.length(), 3);
    box.setSelStart(1);
    box.setSelLength(255);
    EXPECT_EQ(box.selText(), "bß");
}

TEST(TextBox, MultiLineBoxTakesEnterAsLineEndAndBackspaceJoinsTheLines) {
    Form form("frmTest", [](Form& f) {
        f.addTextBox("txtEine").setMaxLength(4);
        f.addTextBox("txtMehrere").setMultiLine(true);
    });
    TextBox& eine = form.textBox("txtEine");
    EXPECT_FALSE(eine.applyKey(kKeyEnter));
    TextBox& box = form.textBox("txtMehrere");
    for (int key : {int{'a'}, kKeyEnter, int{'b'}, kKeyLineFeed}) EXPECT_TRUE(box.applyKey(key));
    EXPECT_EQ(box.text(), "a\r\nb\r\n");
    EXPECT_TRUE(box.applyKey(kKeyBackspace));
    EXPECT_TRUE(box.applyKey(kKeyBackspace));
    EXPECT_EQ(box.text(), "a\r\n");
    EXPECT_EQ(box.selStart(), 3);
    box.setMaxLength(4);  // a line end needs both of its characters
    EXPECT_FALSE(box.applyKey(kKeyEnter));
    EXPECT_TRUE(box.applyKey('c'));
    EXPECT_EQ(box.text(), "a\r\nc");
}

}  // namespace
