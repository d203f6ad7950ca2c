// ZahlungsZiel: the deadline text box, its sentence and due date, on a real template.

#include "document/zahlungsziel.h"

#include <cmath>

#include "totals_fixture.h"

namespace tarvex::testing {
namespace {

struct SatzFall {
    const char* vorlage;
    int bund;
    const char* termin;  // date entry of kind 8 of invoice 3; nullptr: the invoice is unset
    const char* erwartet;
    word::Alignment ausrichtung;
};

// Readable in test names and failure messages.
[[maybe_unused]] void PrintTo(const SatzFall& c, std::ostream* out) { *out << c.vorlage << ", Bund " << c.bund << ", Termin " << (c.termin ? c.termin : "keiner"); }

class DeadlineSentence : public TotalsTest, public ::testing::WithParamInterface<SatzFall> {};

TEST_P(DeadlineSentence, FillsTheDueDateIntoTheTemplate) {
    const SatzFall& f = GetParam();
    runSql(dbFile, std::string("UPDATE Version SET Zahlungsziel = '") + f.vorlage +
                       "', BundZahlungsziel = " + std::to_string(f.bund) +
                       "; INSERT INTO Termine VALUES (7, 3, 1, '2011-01-20');");
    if (f.termin && *f.termin)
        runSql(dbFile, std::string("INSERT INTO Termine VALUES (8, 3, 8, '") + f.termin + "')");
    if (f.termin) rechnungSetzen(0);
    öffnen("template-basic.docx");
    ZahlungsZiel(doc, true);
    speichernUndNeuÖffnen();

    ASSERT_EQ(doc->Shapes().Count(), 1);
    std::string text = doc->Shapes().Item(1).TextRange().Text();
    while (text.ends_with('\r')) text.pop_back();
    EXPECT_EQ(text, f.erwartet);
    EXPECT_EQ(doc->Shapes().Item(1).TextRange().ParagraphAlignment(), f.ausrichtung);
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

using enum word::Alignment;
INSTANTIATE_TEST_SUITE_P(
    Cases, DeadlineSentence,
    ::testing::Values(
        SatzFall{"Zahlbar bis <14>.", 1, nullptr, "Zahlbar bis  15.03.2011 .", Center},
        SatzFall{"Zahlbar sofort ohne Abzug.", 0, nullptr, "Zahlbar sofort ohne Abzug.", Left},
        SatzFall{"Zahlbar bis <30>.", 2, "2011-03-10", "Zahlbar bis  09.04.2011 .", Right},
        SatzFall{"Zahlbar bis <30>.", 1, "2011-03-10 14:30:00", "Zahlbar bis  09.04.2011 .",
                 Center},
        SatzFall{"Zahlbar bis <14>.", 7, "", "Zahlbar bis  15.03.2011 .", Right},
        SatzFall{"Fällig am <1000>.", 1, nullptr, "Fällig am  09.06.2011 .", Center},
        // Without ">" the sentence goes on after the day count instead of repeating itself.
        SatzFall{"Zahlbar bis <14 Tage nach Erhalt", 1, nullptr,
                 "Zahlbar bis  15.03.2011 Tage nach Erhalt", Center}));

TEST_F(TotalsTest, EveryRunLeavesOneBoxAndTheFlagOffLeavesNone) {
    öffnen("template-image.docx");
    ZahlungsZiel(doc, true);
    ZahlungsZiel(doc, true);
    speichernUndNeuÖffnen();

    ASSERT_EQ(doc->Shapes().Count(), 2);
    word::Shape box = doc->Shapes().Item(1).Name() == "Zahlungsziel" ? doc->Shapes().Item(1)
                                                                     : doc->Shapes().Item(2);
    EXPECT_EQ(box.Name(), "Zahlungsziel");
    EXPECT_EQ((std::vector<double>{box.Left(), box.Width(), box.Height(), std::round(box.Top())}),
              (std::vector<double>{70.5, 450.75, 54.0, 723.0}));  // 25,5 cm from the page top
    EXPECT_TRUE(box.GetRelativeVerticalPosition() == word::RelativeVerticalPosition::Page &&
                !box.FillVisible() && !box.LineVisible());

    ZahlungsZiel(doc, false);
    ASSERT_EQ(doc->Shapes().Count(), 1);
    EXPECT_EQ(doc->Shapes().Item(1).Name(), "Stempel");
}

}  // namespace
}  // namespace tarvex::testing
