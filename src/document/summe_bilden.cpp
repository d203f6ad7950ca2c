#include "document/summe_bilden.h"

#include "document/host_daten.h"
#include "document/summen_intern.h"
#include "document/zahlungsziel.h"
#include "plugin/session/sitzungsdaten.h"

namespace tarvex {

namespace summen {

void BeträgeSpeichern(ErrorTrap& trap, const Auftragskontext& k, const Summen& s) {
    const auto rechnung = sitzungsdaten().Rechnung;
    if (!rechnung) return;
    trap.step(910, [&] { rechnung->edit(); });
    // A credit (kind 7) is stored with negative amounts; the document shows them positive.
    double vorzeichen = 1.0;
    trap.step(920, [&] {
        if (rechnung->field("Rechnungsart")->value().toDouble() == 7) vorzeichen = -1.0;
    });
    trap.step(930, [&] {
        rechnung->field("NettoRechnung")->setValue(Variant(vorzeichen * s.Basis * 100.0));
    });
    trap.step(940, [&] {
        rechnung->field("Brutto")->setValue(Variant(vorzeichen * (s.Netto2 + s.MwSt) * 100.0));
    });
    trap.step(950, [&] {
        rechnung->field("MehrwertsteuerFreierbetrag")
            ->setValue(Variant(vorzeichen * (s.Netto2 - s.Basis) * 100.0));
    });
    trap.step(960, [&] {
        rechnung->field("Mehrwertsteuersatz")
            ->setValue(Variant(static_cast<std::int32_t>(k.Mehrwertsteuersatz) * 10));
    });
    trap.step(970, [&] { rechnung->update(); });
}

}  // namespace summen

void SummeBilden(bool Zahlungsziel) {
    using namespace summen;
    ErrorTrap trap("GebührenTabelle", "SummeBilden");
    const Auftragskontext k = auftragskontext();
    std::shared_ptr<word::Document> doc;
    // Without a document nothing is stored either: zero totals would overwrite the invoice.
    if (!trap.step(10, [&] { doc = Dokument(); })) return;

    Summen s;
    BeträgeSammeln(*doc, k.Mehrwertsteuersatz, s);
    MehrwertsteuerBerechnen(s);
    RabattOderAbschlag(trap, k, s);

    std::optional<word::Table> tabelle = SummenTabelleSchreiben(trap, *doc, s);
    BetragsMarkenSchreiben(trap, *doc, s);
    if (tabelle) RabattZeileSchreiben(trap, *tabelle, k, s);
    const std::vector<long> rechnungsZeilen = AbschlagsrechnungenAbziehen(trap, tabelle, s);
    if (tabelle) SummenTabelleFormatieren(trap, *doc, *tabelle, rechnungsZeilen);
    BeträgeSpeichern(trap, k, s);

    trap.step(1010, [&] {
        word::Range ende = doc->Content();
        ende.Collapse(word::CollapseDirection::End);
        ende.Select();
    });
    ZahlungsZiel(doc, Zahlungsziel);
    trap.step(1020, [&] {
        word::Range anfang = doc->Content();
        anfang.Collapse(word::CollapseDirection::Start);
        anfang.Select();
    });
    // View settings are a courtesy to the reader; failing to set them is not worth a log entry.
    try {
        doc->SetShowRevisions(false);
        doc->SetPrintRevisions(false);
        doc->SetShowComments(false);
    } catch (const Error&) {
    }
}

}  // namespace tarvex
