// The totals table: placing it, its rows and the discount or advance line, and its format.

#include <cmath>
#include <string>

#include "document/summen_intern.h"
#include "platform/variant/variant.h"

namespace tarvex::summen {

namespace {

double cm(double zentimeter) { return word::Application::CentimetersToPoints(zentimeter); }

// The first "lumStart" mark, collapsed before it; without one, a new empty paragraph at the end.
word::Range tabellenPlatz(word::Document& doc) {
    const word::Comments kommentare = doc.Comments();
    for (long i = 1; i <= kommentare.Count(); ++i) {
        const word::Comment c = kommentare.Item(i);
        if (c.Text() == "lumStart") {
            word::Range platz = c.Reference();
            platz.Collapse(word::CollapseDirection::Start);
            return platz;
        }
    }
    word::Range platz = doc.Content();
    platz.Collapse(word::CollapseDirection::End);
    platz.InsertParagraphAfter();
    platz.Collapse(word::CollapseDirection::End);
    return platz;
}

// "Mehrwertsteuer 19 %", "Mehrwertsteuer 7,5 %": the rate as single-precision German text.
std::string satzText(float satz) { return "Mehrwertsteuer " + Variant(satz).toString() + " %"; }

}  // namespace

std::optional<word::Table> SummenTabelleSchreiben(ErrorTrap& trap, word::Document& doc,
                                                  const Summen& s) {
    std::optional<word::Range> platz;
    trap.step(410, [&] { platz = tabellenPlatz(doc); });
    if (!platz) return std::nullopt;
    std::optional<word::Table> tabelle;
    trap.step(420, [&] { tabelle = doc.Tables().Add(*platz, s.ZS, 4); });
    if (!tabelle) return std::nullopt;
    word::Table& t = *tabelle;

    trap.step(430, [&] {
        t.Cell(1, 1).Range().InsertAfter(" ");
        doc.Comments().Add(t.Cell(1, 1).Range(), "RE_Summe");
    });
    trap.step(440, [&] { ZelleSchreiben(t, 1, 2, "Summe", false); });
    for (std::size_t i = 0; i < s.Sätze.size(); ++i) {
        const long zeile = s.Z1 + static_cast<long>(i);
        trap.step(450, [&] { ZelleSchreiben(t, zeile, 2, satzText(s.Sätze[i].satz), false); });
    }
    trap.step(460, [&] { t.Rows().Item(s.ZS - 1).SetHeight(6.0, word::RowHeightRule::Exactly); });
    trap.step(470, [&] { ZelleSchreiben(t, s.ZS, 2, "Rechnungsbetrag", true); });
    trap.step(480, [&] { ZelleSchreiben(t, 1, 4, Betrag(s.Netto), false); });
    for (std::size_t i = 0; i < s.Sätze.size(); ++i) {
        const long zeile = s.Z1 + static_cast<long>(i);
        const Steuersatz& e = s.Sätze[i];
        trap.step(490, [&] { ZelleSchreiben(t, zeile, 3, Betrag(s.Faktor * e.betrag), false); });
        // Each rate's VAT is rounded after scaling, so with a discount or advance a line can
        // differ by a cent from the unrounded total VAT.
        const double steuer =
            std::floor(static_cast<double>(e.satz) * e.betrag * s.Faktor + 0.5) / 100.0;
        trap.step(500, [&] { ZelleSchreiben(t, zeile, 4, Betrag(steuer), false); });
    }
    trap.step(510, [&] { ZelleSchreiben(t, s.ZS, 4, Betrag(s.MwSt + s.Netto2), true); });
    return tabelle;
}

void RabattZeileSchreiben(ErrorTrap& trap, word::Table& t, const Auftragskontext& k,
                          const Summen& s) {
    if (!MitRabattZeile(k)) return;
    trap.step(610, [&] {
        word::Range text = t.Cell(2, 2).Range();
        text.InsertParagraphAfter();
        text.InsertAfter(RabattText(k));
        text.SetBold(true);
    });
    trap.step(620, [&] {
        word::Range betrag = t.Cell(2, 4).Range();
        betrag.InsertParagraphAfter();
        betrag.InsertAfter(Betrag(s.Netto2));
        betrag.SetBold(false);
    });
}

void SummenTabelleFormatieren(ErrorTrap& trap, word::Document& doc, word::Table& t,
                              const std::vector<long>& rechnungsZeilen) {
    trap.step(810, [&] { t.Select(); });
    for (int rand = -1; rand >= -6; --rand) {
        trap.step(820, [&] {
            doc.Application()
                .Selection()
                .Borders(static_cast<word::BorderIndex>(rand))
                .SetLineStyle(word::LineStyle::None);
        });
    }
    trap.step(830,
              [&] { doc.Application().Selection().SetParagraphAlignment(word::Alignment::Right); });
    trap.step(840, [&] { t.Columns().Item(3).SetWidth(cm(3.0)); });
    trap.step(850, [&] { t.Columns().Item(4).SetWidth(cm(2.5)); });
    trap.step(860, [&] { t.Columns().Item(1).SetWidth(cm(4.0)); });
    trap.step(870, [&] { t.Columns().Item(2).SetWidth(cm(8.0)); });
    for (long zeile : rechnungsZeilen) {
        trap.step(880, [&] { t.Cell(zeile, 1).SetWidth(cm(9.0)); });
        trap.step(890, [&] { t.Cell(zeile, 2).SetWidth(cm(3.0)); });
    }
}

}  // namespace tarvex::summen
