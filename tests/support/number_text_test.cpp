#include "support/number_text.h"

#include <gtest/gtest.h>

#include "platform/variant/variant.h"
#include "support/debug_log.h"

using namespace tarvex;

TEST(WertFormatieren, FormatsAndRightAligns) {
    const struct {
        const char* wert;
        short laenge, stellen;
        const char* erwartet;
    } cases[] = {{"1000,00", 7, 2, "1.000,00"},  // longer than the width: whole
                 {"2345,5", 11, 2, "   2.345,50"},
                 {"5   ,  ", 7, 2, "   5,00"},  // partly filled share field
                 {"    ", 4, 0, "   0"},        // empty "####" field
                 {"", 6, 2, "  0,00"},
                 {"19%", 6, 2, " 19,00"},
                 {"1.5", 6, 2, " 15,00"},  // "." is always a separator
                 {"-12,5", 8, 2, "  -12,50"},
                 {"1234567,891", 11, 2, "1.234.567,89"},
                 {"2,345", 6, 2, "  2,35"},  // half away from zero
                 {"-2,345", 6, 2, " -2,35"},
                 {"0,125", 6, 2, "  0,13"},
                 {"12  ", 4, 0, "  12"},
                 {"1250", 10, 0, "     1.250"},
                 {"3,14159", 6, 3, " 3,142"},
                 {"abc", 6, 2, "  0,00"},
                 {"7", 3, 5, "  7"}};  // decimals beyond 3: no format
    for (const auto& c : cases)
        EXPECT_EQ(WertFormatieren(c.wert, c.laenge, c.stellen), c.erwartet)
            << c.wert << " (" << c.laenge << ", " << c.stellen << ")";
}

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
