// frmKat2's fee table: the fixed rows OK writes and the read-back from the same rows.
//
// Rows: 3/4 source parcels, 6/7 formed parcels with their list, 8 the first 50, 9 further
// ones (when mskNeuFlur51 is not empty), 11 boundary points, 13 points to be marked,
// 15 subtotal, 17/18 land value and value factor, 20/21 Faktor A, 23 fee, 25 reduction (when
// ticked), then the share (27, or 25 without reduction) when it is not 1000. The table has
// 29 rows plus 2 per optional part, so a few empty rows stay at its end.

#include "calculators/frmKat2.h"
#include "calculators/zahlen.h"
#include "document/fee_table.h"
#include "platform/variant/variant.h"
#include "support/number_text.h"

namespace tarvex {

bool frmKat2::mitErmäßigung() { return checkBox("chkErmäßigung").value() == 1; }

std::int16_t frmKat2::Zeilenzahl() {
    int mehr = 0;
    if (!anteilIst1000()) mehr += 2;
    if (mitErmäßigung()) mehr += 2;
    return Zeile(29, mehr);
}

void frmKat2::ZeilenSchreiben(ErrorTrap& trap, word::Table& t) {
    // One cell per step: a cell that fails stays empty and the rest is still written.
    const auto zelle = [&](std::int16_t zeile, short spalte, const auto& text, bool fett = false,
                           const char* kommentar = "") {
        trap.step(200,
                  [&] { wordTabelle(t, zeile, spalte, std::string(text()), fett, kommentar); });
    };
    const auto feld = [&](const char* name) {
        return [this, name] { return masked(name).text(); };
    };
    const auto betrag = [&](const char* name) {
        return [this, name] { return label(name).caption() + " €"; };
    };
    const auto fest = [](const char* text) { return [text] { return text; }; };

    zelle(3, 1, fest("30.21.1"));
    zelle(3, 2, fest("Ausgangsflurstücke"));
    zelle(4, 2, [&] { return textBox("grdAusFlur").text(); });
    zelle(4, 3, feld("mskAusFlur"));
    zelle(4, 4, fest("150,00 €"));
    zelle(4, 5, betrag("lblAusFlur"), false, "no");

    zelle(6, 1, fest("30.21.2"));
    zelle(6, 2, fest("gebildete Flurstücke"));
    zelle(7, 2, [&] { return textBox("grdNeuFlur").text(); });
    zelle(8, 2, fest("Für die ersten 50 Flurstücke"));
    zelle(8, 3, feld("mskNeuFlur"));
    zelle(8, 4, fest("230,00 €"));
    zelle(8, 5, betrag("lblNeuFlur"), false, "no");
    // Any entry, a 0 too, writes the row; only an empty field leaves it out.
    bool weitere = false;
    trap.step(210, [&] { weitere = masked("mskNeuFlur51").text() != "    "; });
    if (weitere) {
        zelle(9, 2, fest("Für weitere Flurstücke"));
        zelle(9, 3, feld("mskNeuFlur51"));
        zelle(9, 4, fest("210,00 €"));
        zelle(9, 5, betrag("lblNeuFlur51"), false, "no");
    }

    zelle(11, 1, fest("30.21.3"));
    zelle(11, 2, fest("Grenzpunkte der neuen Grenze"));
    zelle(11, 3, feld("mskGP"));
    zelle(11, 4, fest("40,00 €"));
    zelle(11, 5, betrag("lblGP"), false, "no");
    zelle(13, 1, fest("30.21.4"));
    zelle(13, 2, fest("Abzumarkende Grenzpunkte"));
    zelle(13, 3, feld("mskAGP"));
    zelle(13, 4, fest("25,00 €"));
    zelle(13, 5, betrag("lblAGP"), false, "no");
    zelle(15, 2, fest("Zwischensumme"), true);
    zelle(15, 5, betrag("lblZwischen"), false, "no");

    zelle(17, 1, fest("30.23.1"));
    zelle(17, 2, fest("Wertfaktor bei einem Bodenwert von"));
    zelle(17, 3, [&] { return masked("mskBoden").text() + " €/m²"; });
    zelle(18, 2, fest("Daraus sich ergebender Wertfaktor"));
    zelle(18, 3, [&] { return label("lblFaktor").caption(); });
    zelle(20, 1, fest("30.2.1"));
    zelle(21, 2, fest("Faktor A"));
    zelle(21, 3, [&] { return label("lblDichtefaktor").caption(); });

    bool anteil = false;
    bool ermäßigung = false;
    trap.step(220, [&] { anteil = !anteilIst1000(); });
    trap.step(230, [&] { ermäßigung = mitErmäßigung(); });
    // The totals take the fee (and the negative reduction), or only the client's share.
    const char* zwischenwert = anteil ? "no" : "";
    zelle(23, 2, fest("Gebühr = Zwischensumme * Wertfaktor * Faktor A"));
    zelle(23, 5, betrag("lblSumme"), false, zwischenwert);
    const auto gebühr = [&] { return CVal(label("lblSumme").caption()); };
    std::int16_t z = 23;
    if (ermäßigung) {
        trap.step(240, [&] { z = Zeile(z, 2); });
        zelle(z, 1, fest("30.2.4"));
        zelle(z, 2, fest(kErmäßigungText));
        zelle(z, 3, fest("20%"));
        zelle(
            z, 5, [&] { return WertFormatieren(germanNumberText(gebühr() * -0.2), 8, 2) + " €"; },
            false, zwischenwert);
    }
    if (anteil) {
        trap.step(250, [&] { z = Zeile(z, 2); });
        zelle(z, 2, fest("Anteil in 1/1000"));
        zelle(z, 3, [&] { return germanNumberText(CVal(masked("mskBezug").text())); });
        zelle(z, 5, [&] {
            const double basis = ermäßigung ? gebühr() * 0.8 : gebühr();
            const double promille = CVal(masked("mskBezug").text());
            return WertFormatieren(germanNumberText(basis * promille / 1000.0), 8, 2) + " €";
        });
    }
}

void frmKat2::TabelleEinlesen(const word::Table& t) {
    ErrorTrap trap("Rechnung", "TabelleEinlesen");
    const auto zelle = [&](short zeile, short spalte) { return ZelleEinlesen(t, zeile, spalte); };
    // A count as the four-digit fields take it: right-aligned, without the thousands point
    // that 1000 and more would carry and that the field cannot hold.
    const auto vierstellig = [](double wert) {
        return ohneTausenderpunkte(WertFormatieren(germanNumberText(wert), 4, 0));
    };

    trap.step(10, [&] { textBox("grdAusFlur").setText(Zeilen(zelle(4, 2))); });
    trap.step(20, [&] { masked("mskAusFlur").setText(zelle(4, 3)); });
    trap.step(30, [&] { textBox("grdNeuFlur").setText(Zeilen(zelle(7, 2))); });
    trap.step(40, [&] { masked("mskNeuFlur").setText(zelle(8, 3)); });
    trap.step(50, [&] {
        if (führendeZahl(zelle(9, 3)) > 0)
            masked("mskNeuFlur51").setText(vierstellig(CVal(zelle(9, 3))));
    });
    trap.step(60, [&] {
        masked("mskGesamt")
            .setText(vierstellig(CVal(masked("mskNeuFlur").text()) +
                                 CVal(masked("mskNeuFlur51").text())));
    });
    trap.step(70, [&] { masked("mskGP").setText(zelle(11, 3)); });
    trap.step(80, [&] { masked("mskAGP").setText(zelle(13, 3)); });
    trap.step(90, [&] { masked("mskBoden").setText(vierstellig(CVal(zelle(17, 3)))); });
    trap.step(100, [&] { label("lblFaktor").setCaption(zelle(18, 3)); });
    trap.step(110, [&] {
        const std::string faktorA = zelle(21, 3);
        label("lblDichtefaktor").setCaption(faktorA);
        // The option of the factor read is shown as chosen, so that the window does not offer
        // "W, M, SO" beside a factor of 3,0 (a click on the shown option would change nothing).
        if (faktorA == "1,7") option("sevOption1").setValue(true);
        if (faktorA == "3,0") option("sevOption2").setValue(true);
    });
    short anteilZeile = 25;
    trap.step(120, [&] {
        if (zelle(25, 2).starts_with("Ermäßigung")) {
            checkBox("chkErmäßigung").setValue(1);
            anteilZeile = 27;
        }
    });
    trap.step(130, [&] {
        if (zelle(anteilZeile, 2).starts_with("Anteil"))
            masked("mskBezug")
                .setText(ohneTausenderpunkte(WertFormatieren(zelle(anteilZeile, 3), 7, 2)));
    });
    trap.step(140, [&] { GebührBerechnen(); });
}

}  // namespace tarvex
