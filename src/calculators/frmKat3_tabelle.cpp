// frmKat3's fee table: fixed rows, so that the read-back finds every value where OK put it.
//
// Layout: 3-4 starting parcels, 6-10 formed parcels (10 only with further parcels), 12 new
// boundary points, 14 marked points, 16 subtotal, 18-20 classification, 23 fee, 25 share when
// not 1000. 29 rows, 31 with the share; the rows in between and after stay empty.

#include "calculators/frmKat3.h"
#include "calculators/zahlen.h"
#include "document/fee_table.h"
#include "platform/variant/variant.h"
#include "support/number_text.h"

namespace tarvex {

std::int16_t frmKat3::Zeilenzahl() { return Zeile(29, anteilIst1000() ? 0 : 2); }

void frmKat3::ZeilenSchreiben(ErrorTrap& trap, word::Table& t) {
    // One cell per step: a cell that fails stays empty and the rest is still written.
    const auto zelle = [&](short zeile, short spalte, const auto& text, bool fett = false,
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
    zelle(7, 2, [&] { return masked("mskFlurstücke").text() + " Flur-/Zuflurstücke"; });
    zelle(8, 2, [&] { return textBox("grdNeuFlur").text(); });
    zelle(9, 2, fest("Für die ersten 50 Flurstücke"));
    zelle(9, 3, feld("mskNeuFlur"));
    zelle(9, 4, fest("230,00 €"));
    zelle(9, 5, betrag("lblNeuFlur"), false, "no");
    bool weitere = false;
    trap.step(210, [&] { weitere = masked("mskNeuFlur51").text() != "    "; });
    if (weitere) {
        zelle(10, 2, fest("Für weitere Flurstücke"));
        zelle(10, 3, feld("mskNeuFlur51"));
        zelle(10, 4, fest("210,00 €"));
        zelle(10, 5, betrag("lblNeuFlur51"), false, "no");
    }

    zelle(12, 1, fest("30.21.3"));
    zelle(12, 2, fest("Grenzpunkte der neuen Grenze"));
    zelle(12, 3, feld("mskGP"));
    zelle(12, 4, fest("40,00 €"));
    zelle(12, 5, betrag("lblGP"), false, "no");
    zelle(14, 1, fest("30.21.4"));
    zelle(14, 2,
          [&] { return masked("mskAGP").text() + " abzumarkende Grenzpunkte der neuen Grenze"; });
    zelle(14, 3, feld("mskAGP"));
    zelle(14, 4, fest("25,00 €"));
    zelle(14, 5, betrag("lblAGP"), false, "no");

    zelle(16, 2, fest("Zwischensumme"), true);
    zelle(16, 5, betrag("lblZwischen"), false, "no");

    zelle(18, 1, fest("30.23.2"));
    zelle(18, 2, fest("Wertfaktor"));
    zelle(19, 2, fest("Klassifizierung"));
    zelle(20, 2, [&] { return combo("cmbKlassifizierung").text(); });
    zelle(20, 3, [&] { return label("lblFaktor").caption(); });

    GebührUndAnteilSchreiben(trap, t, 23, "Gebühr = Zwischensumme * Wertfaktor", 220, 230);
}

void frmKat3::TabelleEinlesen(const word::Table& t) {
    ErrorTrap trap(name(), "TabelleEinlesen");
    const auto zelle = [&](short zeile, short spalte) { return ZelleEinlesen(t, zeile, spalte); };
    // A read-back number goes into a field of plain digits: the "." of thousands would not fit
    // (1000 formed parcels and more, a share of 1000 and more).
    const auto ziffern = [](const std::string& zahl, short länge, short stellen) {
        return ohneTausenderpunkte(WertFormatieren(zahl, länge, stellen));
    };

    trap.step(10, [&] { textBox("grdAusFlur").setText(zelle(4, 2)); });
    trap.step(20, [&] { masked("mskAusFlur").setText(zelle(4, 3)); });
    trap.step(30, [&] { textBox("grdNeuFlur").setText(zelle(8, 2)); });
    trap.step(40, [&] { masked("mskNeuFlur").setText(zelle(9, 3)); });
    trap.step(50, [&] {
        const std::string weitere = zelle(10, 3);
        if (führendeZahl(weitere) > 0) masked("mskNeuFlur51").setText(weitere);
    });
    trap.step(60, [&] {
        const double gesamt =
            führendeZahl(masked("mskNeuFlur").text()) + führendeZahl(masked("mskNeuFlur51").text());
        masked("mskFlurstücke").setText(ziffern(germanNumberText(gesamt), 4, 0));
    });
    trap.step(70, [&] { masked("mskGP").setText(zelle(12, 3)); });
    trap.step(80, [&] { masked("mskAGP").setText(zelle(14, 3)); });
    trap.step(90, [&] { combo("cmbKlassifizierung").setText(zelle(20, 2)); });
    trap.step(100, [&] { label("lblFaktor").setCaption(zelle(20, 3)); });
    trap.step(110, [&] {
        if (zelle(25, 2).substr(0, 6) == "Anteil")
            masked("mskBezug").setText(ziffern(zelle(25, 3), 7, 2));
    });
    trap.step(120, [&] { GebührBerechnen(); });
}

}  // namespace tarvex
