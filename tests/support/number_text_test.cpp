#include "support/number_text.h"

#include <gtest/gtest.h>

#include "platform/variant/variant.h"
#include "support/debug_log.h"

using namespace tarvex;

struct FormatCase {
    const char* wert;
    short laenge;
    short stellen;
    const char* erwartet;
};

// Readable in test names and failure messages.
[[maybe_unused]] void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.wert << " (" << c.laenge << ", " << c.stellen << ")"; }

class WertFormatierenCases : public ::testing::TestWithParam<FormatCase> {};

TEST_P(WertFormatierenCases, FormatsAndRightAligns) {
    const auto& c = GetParam();
    EXPECT_EQ(WertFormatieren(c.wert, c.laenge, c.stellen), c.erwartet);
}

INSTANTIATE_TEST_SUITE_P(
    GermanText, WertFormatierenCases,
    ::testing::Values(FormatCase{"1000,00", 7, 2, "1.000,00"},      // longer than the width: whole
                      FormatCase{"2345,5", 11, 2, "   2.345,50"},
                      FormatCase{"5   ,  ", 7, 2, "   5,00"},        // partly filled share field
                      FormatCase{"    ", 4, 0, "   0"},             // empty "####" field
                      FormatCase{"", 6, 2, "  0,00"},
                      FormatCase{"19%", 6, 2, " 19,00"},
                      FormatCase{"1.5", 6, 2, " 15,00"},            // "." is always a separator
                      FormatCase{"-12,5", 8, 2, "  -12,50"},
                      FormatCase{"1234567,891", 11, 2, "1.234.567,89"},
                      FormatCase{"2,345", 6, 2, "  2,35"},          // half away from zero
                      FormatCase{"-2,345", 6, 2, " -2,35"},
                      FormatCase{"0,125", 6, 2, "  0,13"},
                      FormatCase{"12  ", 4, 0, "  12"},
                      FormatCase{"1250", 10, 0, "     1.250"},
                      FormatCase{"3,14159", 6, 3, " 3,142"},
                      FormatCase{"abc", 6, 2, "  0,00"},
                      FormatCase{"7", 3, 5, "  7"}));               // decimals beyond 3: no format

TEST(FormatGerman, DecimalsOfTheLargestNumbersAreZeros) {
    // Scaling by the decimals overflows here; the text must still be the number.
    for (double wert : {1.5e307, -1.7e308}) {
        const std::string text = formatGerman(wert, 3);
        EXPECT_TRUE(text.ends_with(",000")) << text;
        EXPECT_EQ(parseGermanNumber(text), wert) << text;
    }
    EXPECT_EQ(formatGerman(-0.0001, 2), "0,00");
}

TEST(CVal, ReadsGermanNumbersWithUnits) {
    ScopedLogCapture log;
    EXPECT_DOUBLE_EQ(CVal(" 1.234,56 "), 1234.56);
    EXPECT_DOUBLE_EQ(CVal("12,50 €"), 12.5);
    EXPECT_DOUBLE_EQ(CVal("   5,00"), 5.0);
    EXPECT_DOUBLE_EQ(CVal("-3,5"), -3.5);
    EXPECT_DOUBLE_EQ(CVal(""), 0.0);
    EXPECT_DOUBLE_EQ(CVal("Gebühr"), 0.0);
    EXPECT_DOUBLE_EQ(CVal(","), 0.0);
    EXPECT_EQ(log.count(), 0u);
}

TEST(CVal, MalformedLeadingNumberIsLoggedAndGivesZero) {
    ScopedLogCapture log;
    EXPECT_DOUBLE_EQ(CVal("-"), 0.0);
    EXPECT_DOUBLE_EQ(CVal("1,2,3 m"), 0.0);
    EXPECT_EQ(log.count(), 2u);
    EXPECT_TRUE(log.contains("-LumDienste- Funktionen.CVal"));
}

TEST(FührendeZahl, ReadsUpToTheFirstOtherCharacter) {
    EXPECT_DOUBLE_EQ(führendeZahl(" 1 2.5x"), 12.5);
    EXPECT_DOUBLE_EQ(führendeZahl("-  7"), -7.0);
    EXPECT_DOUBLE_EQ(führendeZahl("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(führendeZahl("2345,5"), 2345.0);
    EXPECT_DOUBLE_EQ(führendeZahl("--1"), 0.0);
    EXPECT_DOUBLE_EQ(führendeZahl(""), 0.0);
}
