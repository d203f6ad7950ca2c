#include "platform/ui/masked_field.h"

#include <gtest/gtest.h>

#include "platform/ui/form.h"

#include "common/error_number.h"

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

    static void keys(MaskedField& f, const std::string& chars) {
        for (char c : chars) f.applyKey(c);
    }
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

TEST_F(Fields, TypingADigitReplacesTheSelectionWithPrompts) {
    share.setText("1000,00");
    share.setSelStart(0);
    share.setSelLength(255);
    EXPECT_TRUE(share.applyKey('5'));
    EXPECT_EQ(share.text(), "5   ,  ");
    EXPECT_EQ(share.selStart(), 1);
    EXPECT_EQ(share.selLength(), 0);
}

TEST_F(Fields, TypingSkipsLiteralsAndTheLiteralItselfMovesTheCaretPastIt) {
    keys(share, "12345");
    EXPECT_EQ(share.text(), "1234,5 ");
    share.setText("");
    keys(share, "7,25");
    EXPECT_EQ(share.text(), "7   ,25");
    EXPECT_EQ(share.selStart(), 7);
}

TEST_F(Fields, RefusedKeysChangeNothing) {
    count.setText("12");
    count.setSelStart(0);
    count.setSelLength(4);
    for (int key : {int{'a'}, int{' '}, int{'-'}, int{','}, 0x00E4 /* ä */}) {
        EXPECT_FALSE(count.applyKey(key));
        EXPECT_EQ(count.text(), "12  ");
        EXPECT_EQ(count.selLength(), 4);  // the selection survives a refused key
    }
}

TEST_F(Fields, TypingPastTheEndIsRefused) {
    keys(count, "12345");
    EXPECT_EQ(count.text(), "1234");
    EXPECT_EQ(count.selStart(), 4);
    // The comma of a full share field with the caret behind it has nowhere to go.
    share.setText("1000,00");
    share.setSelStart(5);
    share.setSelLength(2);
    EXPECT_FALSE(share.applyKey(','));
    EXPECT_EQ(share.selStart(), 5);
    EXPECT_EQ(share.selLength(), 2);
}

TEST_F(Fields, BackspaceBlanksTheDigitBeforeTheCaretAcrossLiterals) {
    share.setText("1234,56");
    share.setSelStart(5);
    EXPECT_TRUE(share.applyKey(kKeyBackspace));
    EXPECT_EQ(share.text(), "123 ,56");
    EXPECT_EQ(share.selStart(), 3);
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

}  // namespace
