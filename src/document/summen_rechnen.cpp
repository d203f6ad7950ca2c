// The arithmetic of the totals: collecting the fee amounts, VAT per rate, discount or advance.

#include <cmath>
#include <string>

#include "document/summen_intern.h"
#include "platform/variant/variant.h"
#include "support/number_text.h"

namespace tarvex::summen {

namespace {

// A cell's text without its end-of-cell mark.
std::string zellText(const word::Range& zelle) {
    std::string text = zelle.Text();
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\a") == 0)
        text.erase(text.size() - 2);
    return text;
}
std::string zellText(const word::Cell& zelle) { return zellText(zelle.Range()); }

bool istSummenTabelle(const word::Table& t) {
    try {
        return zellText(t.Cell(1, 2)) == "Summe";
    } catch (const Error&) {
        return false;
    }
}

void zeileZählen(const word::Table& t, long r, std::int16_t Mehrwertsteuersatz, Summen& s) {
    // One range for text and marks: finding a cell's place is most of what reading it costs.
    const word::Range zelle = t.Cell(r, 5).Range();
    std::string betrag = zellText(zelle);
    const word::Comments marken = zelle.Comments();
    const std::string marke = marken.Count() > 0 ? marken.Item(1).Text() : std::string();
    if (betrag.empty() || marke == "no") return;
    std::erase(betrag, '\r');

    float satz = static_cast<float>(Mehrwertsteuersatz);
    if (!marke.empty()) satz = static_cast<float>(CVal(marke));
    const double wert = CVal(betrag);
    if (satz > 0.0f) {
        Steuersatz* eintrag = nullptr;
        for (auto& e : s.Sätze)
            if (e.satz == satz) eintrag = &e;
        if (!eintrag) eintrag = &s.Sätze.emplace_back(Steuersatz{satz, 0.0});
        eintrag->betrag += wert;
    }
    s.Netto += wert;
}

}  // namespace

void BeträgeSammeln(word::Document& doc, std::int16_t Mehrwertsteuersatz, Summen& s) {
    // Any cell that cannot be read (a table of fewer than five columns, a row with merged
    // cells) simply counts for nothing; these failures are not worth a log entry.
    try {
        const word::Tables tabellen = doc.Tables();
        for (long i = 1; i <= tabellen.Count(); ++i) {
            const word::Table t = tabellen.Item(i);
            if (istSummenTabelle(t)) continue;
            long zeilen = 0;
            try {
                zeilen = t.Rows().Count();
            } catch (const Error&) {
                continue;
            }
            for (long r = 1; r <= zeilen; ++r) {
                try {
                    zeileZählen(t, r, Mehrwertsteuersatz, s);
                } catch (const Error&) {
                }
            }
        }
    } catch (const Error&) {
    }
}

void MehrwertsteuerBerechnen(Summen& s) {
    for (const auto& e : s.Sätze) {
        s.MwSt += std::floor(static_cast<double>(e.satz) * e.betrag + 0.5) / 100.0;
        s.Basis += e.betrag;
    }
}

void RabattOderAbschlag(ErrorTrap& trap, const Auftragskontext& k, Summen& s) {
    s.Z1 = 2;
    s.ZS = 3;
    const double rabatt = k.Rabatt;
    const double prozent = k.AbschlagProzent;
    if (k.AbschlagAbsolut == 0.0 && k.AbschlagProzent == 100 && k.Rabatt == 0) {
        s.Netto2 = s.Netto;
        s.Faktor = 1.0;
    } else {
        if (k.Rabatt >= 1) {
            s.Netto2 = s.Netto * (100.0 - rabatt) / 100.0;
            s.MwSt = s.MwSt * (100.0 - rabatt) / 100.0;
            s.Basis = s.Basis * (100.0 - rabatt) / 100.0;
            s.Faktor = (100.0 - rabatt) / 100.0;
        } else if (k.AbschlagProzent >= 100) {
            // Netto 0 makes this fail: Faktor stays 0, so VAT and Basis become 0 as well.
            trap.step(310, [&] { s.Faktor = divide(k.AbschlagAbsolut, s.Netto); });
            s.MwSt = s.MwSt * s.Faktor;
            s.Basis = s.Basis * s.Faktor;
            s.Netto2 = k.AbschlagAbsolut;
        } else {
            s.Netto2 = s.Netto * prozent / 100.0;
            s.MwSt = s.MwSt * prozent / 100.0;
            s.Basis = s.Basis * prozent / 100.0;
            s.Faktor = prozent / 100.0;
        }
        s.Z1 = 3;
        s.ZS = 4;
    }
    s.ZS += static_cast<long>(s.Sätze.size());
}

std::string RabattText(const Auftragskontext& k) {
    if (k.Rabatt >= 1) return "Abzüglich dem Rabatt von " + std::to_string(k.Rabatt) + "%";
    if (k.AbschlagProzent == 100) return "Abschlagszahlung von ";
    return "Abschlagszahlung von " + std::to_string(k.AbschlagProzent) + "%";
}

bool MitRabattZeile(const Auftragskontext& k) {
    return !(k.AbschlagAbsolut <= 0.0 && k.AbschlagProzent == 100 && k.Rabatt < 1);
}

std::string BetragOhneEuro(double wert) {
    // Below 1e-4 the number text takes exponent form ("1,4E-14"), whose leading number would
    // read as 1.4; such values are leftovers of subtracting equal amounts and mean 0.
    if (std::fabs(wert) < 1e-4) wert = 0.0;
    return WertFormatieren(germanNumberText(wert), 11, 2);
}

std::string Betrag(double wert) { return BetragOhneEuro(wert) + " €"; }

void ZelleSchreiben(word::Table& t, long row, long column, const std::string& text,
                    std::optional<bool> fett) {
    word::Range bereich = t.Cell(row, column).Range();
    bereich.InsertAfter(text);
    if (fett) bereich.SetBold(*fett);
}

}  // namespace tarvex::summen
