// The amounts after the template's marker comments ("lumGesamt", "lumNetto", ...): each run
// replaces the amount that the previous run (or the template) left after the marker.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/summen_intern.h"

namespace tarvex::summen {

namespace {

// How far after a marker an old amount is looked for, in characters.
constexpr long Vorschau = 15;
const std::string Euro = " €";

long zeichenZahl(const std::string& utf8) {
    long n = 0;
    for (unsigned char b : utf8)
        if ((b & 0xC0) != 0x80) ++n;
    return n;
}

// Writes `wert` after the marker. The old amount is "<amount> €" within the marker's paragraph;
// it is replaced together with one following blank, never with a paragraph or cell end, so
// the user's sentence and paragraphs stay as they are however often the totals run.
void markeSchreiben(word::Document& doc, const word::Comment& marke, double wert) {
    word::Range hinter = marke.Reference();
    hinter.Collapse(word::CollapseDirection::End);
    hinter.Select();
    word::Selection auswahl = doc.Application().Selection();
    auswahl.MoveRight(Vorschau, true);
    std::string fenster = auswahl.Text();
    auswahl.Collapse(word::CollapseDirection::Start);

    if (auto ende = fenster.find_first_of("\r\a\v"); ende != std::string::npos)
        fenster.resize(ende);
    std::string neu = Betrag(wert);
    if (auto p = fenster.find(Euro); p != std::string::npos) {
        long ersetzt = zeichenZahl(fenster.substr(0, p)) + 2;
        const std::size_t danach = p + Euro.size();
        if (danach < fenster.size() && fenster[danach] == ' ') {
            ++ersetzt;
            neu += " ";
        }
        auswahl.MoveRight(ersetzt, true);
    } else {
        // No amount yet: insert one, with a blank that keeps it apart from the text after it.
        neu += " ";
    }
    auswahl.TypeText(neu);
}

void markenDurchgehen(ErrorTrap& trap, int zeile, word::Document& doc,
                      const std::vector<std::pair<std::string, double>>& werte) {
    long anzahl = 0;
    // Taken once: replacing amounts adds or removes no comment.
    std::optional<word::Comments> kommentare;
    if (!trap.step(zeile, [&] {
            kommentare = doc.Comments();
            anzahl = kommentare->Count();
        }))
        return;
    for (long i = 1; i <= anzahl; ++i) {
        trap.step(zeile, [&] {
            const word::Comment c = kommentare->Item(i);
            const std::string text = c.Text();
            for (const auto& [name, wert] : werte)
                if (text == name) markeSchreiben(doc, c, wert);
        });
    }
}

}  // namespace

void BetragsMarkenSchreiben(ErrorTrap& trap, word::Document& doc, const Summen& s) {
    markenDurchgehen(trap, 550, doc, {{"lumGesamt", s.MwSt + s.Netto2}});
    markenDurchgehen(
        trap, 560, doc,
        {{"lumNetto", s.Netto2}, {"lumMwSt", s.MwSt}, {"lumBrutto", s.Netto2 + s.MwSt}});
    markenDurchgehen(trap, 570, doc, {{"lumAuslagen", s.Netto2 - s.Basis}});
}

}  // namespace tarvex::summen
