// frmKat1's fee table: the rows OK writes and the read-back that walks the same layout.
//
// Layout, with r the current row: 3/4 source parcels; 6/7 formed parcels and 8 those beyond
// the 50th when present; then from 9 (or 10) on, each present block followed by one empty
// row: 30.21.2.2 (2 rows), 30.21.2.3 (2 rows, and after an empty row the further small
// parcels), 30.21.2.4 (2 rows); 30.21.3; 30.21.4; subtotal; 30.1.2 (2 rows, no empty row
// after it); the factor (3 rows); the fee; the share.

#include <array>

#include "calculators/faktoren.h"
#include "calculators/frmKat1.h"
#include "calculators/zahlen.h"
#include "document/fee_table.h"
#include "platform/variant/variant.h"
#include "support/number_text.h"

namespace tarvex {

namespace {

std::string ohneEndblanks(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

std::int16_t frmKat1::Zeilenzahl() {
    int mehr = 0;
    const bool weitere = anzahl("mskWeiter75") > 0;
    if (anzahl("mskGesamt2") > 0) mehr += 3;
    // The further small parcels are written inside the 30.21.2.3 block, so the block comes
    // with them even when there is no first small parcel.
    if (anzahl("mskGesamt75") > 0 || weitere) mehr += 3;
    if (weitere) mehr += 2;
    if (anzahl("mskGesamt599") > 0) mehr += 3;
    if (checkBox("sevCheck1").value() == 1) mehr += 2;
    if (!anteilIst1000()) mehr += 2;
    return Zeile(20, mehr);
}

void frmKat1::ZeilenSchreiben(ErrorTrap& trap, word::Table& t) {
    std::int16_t z = 3;
    // One cell per step: a cell that fails stays empty and the rest is still written.
    const auto zelle = [&](int zeile, short spalte, const auto& text, bool fett = false,
                           const char* kommentar = "") {
        trap.step(200, [&] {
            wordTabelle(t, static_cast<short>(zeile), spalte, std::string(text()), fett, kommentar);
        });
    };
    const auto weiter = [&](int schritt) { trap.step(210, [&] { z = Zeile(z, schritt); }); };
    const auto belegt = [&](const char* feld) {
        bool ja = false;
        trap.step(220, [&] { ja = anzahl(feld) > 0; });
        return ja;
    };
    // Item number and description in row z; list, count, unit fee and amount in row z + 1.
    const auto posten = [&](const char* nummer, const char* text, const char* liste,
                            const char* feld, const char* einheit, const char* betrag) {
        zelle(z, 1, [&] { return nummer; });
        zelle(z, 2, [&] { return text; });
        std::int16_t unten = z;
        trap.step(210, [&] { unten = Zeile(z, 1); });
        zelle(unten, 2, [&] { return textBox(liste).text(); });
        zelle(unten, 3, [&] { return masked(feld).text(); });
        zelle(unten, 4, [&] { return einheit; });
        zelle(
            unten, 5, [&] { return label(betrag).caption() + " €"; }, false, "no");
    };
    const auto zeile = [&](const char* nummer, const char* text, const char* feld,
                           const char* einheit, const char* betrag) {
        zelle(z, 1, [&] { return nummer; });
        zelle(z, 2, [&] { return text; });
        zelle(z, 3, [&] { return masked(feld).text(); });
        zelle(z, 4, [&] { return einheit; });
        zelle(
            z, 5, [&] { return label(betrag).caption() + " €"; }, false, "no");
    };

    posten("30.21.1", "Ausgangsflurstücke", "grdAusFlur", "mskAusFlur", "150,00 €", "lblAusFlur");
    weiter(3);
    posten("30.21.2.1", "gebildete Flurstücke", "grdNeuFlur", "mskNeuFlur", "230,00 €",
           "lblNeuFlur");
    weiter(2);
    if (belegt("mskNeuFlur51")) {
        zeile("", "", "mskNeuFlur51", "210,00 €", "lblNeuFlur51");
        weiter(1);
    }
    weiter(1);

    if (belegt("mskGesamt2")) {
        posten("30.21.2.2", "Ermäßigungen 2 Flurstücke mit Fläche < 75m² ", "txt_2", "mskGesamt2",
               "-345,00 €", "lblNeu2");
        weiter(3);
    }
    const bool weitere = belegt("mskWeiter75");
    if (belegt("mskGesamt75") || weitere) {
        posten("30.21.2.3", "Ermäßigungen Fläche < 75m², erstes Flurstück ", "txt_50",
               "mskGesamt75", "-230,00 €", "lblNeu75");
        weiter(3);
        if (weitere) {
            zeile("", kWeitereKleine, "mskWeiter75", "-115,00 €", "lblNeu75_51");
            weiter(2);
        }
    }
    if (belegt("mskGesamt599")) {
        posten("30.21.2.4", "Anzahl der Erhöhungen Fläche > 599/524 m² ", "Text4", "mskGesamt599",
               "230,00 €", "lblNeu499");
        weiter(3);
    }

    zeile("30.21.3", "Grenzpunkte der neuen Grenze", "mskGP", "40,00 €", "lblGP");
    weiter(2);
    zeile("30.21.4", "abzumarkende Grenzpunkte der neuen Grenze", "mskAGP", "25,00 €", "lblAGP");
    weiter(2);
    zelle(
        z, 2, [] { return "Zwischensumme"; }, true);
    zelle(
        z, 5, [&] { return label("lblZwischen").caption() + " €"; }, false, "no");
    weiter(2);

    bool splitter = false;
    trap.step(230, [&] { splitter = checkBox("sevCheck1").value() == 1; });
    if (splitter) {
        zelle(z, 1, [] { return "30.1.2"; });
        zelle(z, 2, [] { return "Ermäßigung Splitterflächen"; });
        zelle(z, 3, [] { return "Faktor"; });
        weiter(1);
        zelle(z, 3, [] { return "0,7"; });
        weiter(1);
    }
    FaktorZeilenSchreiben(trap, t, z, *this);
    weiter(4);

    GebührUndAnteilSchreiben(trap, t, z, "Gebühr = Zwischensumme * Faktor", 240, 210);
}

void frmKat1::TabelleEinlesen(const word::Table& t) {
    ErrorTrap trap("Rechnung", "TabelleEinlesen");
    const auto zelle = [&](int zeile, short spalte) {
        return ZelleEinlesen(t, static_cast<short>(zeile), spalte);
    };
    const auto feld = [&](const char* name, int zeile, short spalte) {
        trap.step(20, [&] { masked(name).setText(zelle(zeile, spalte)); });
    };
    const auto liste = [&](const char* name, int zeile) {
        trap.step(30, [&] { textBox(name).setText(Zeilen(zelle(zeile, 2))); });
    };
    std::int16_t z = 4;
    const auto weiter = [&](int schritt) { trap.step(40, [&] { z = Zeile(z, schritt); }); };

    liste("grdAusFlur", 4);
    feld("mskAusFlur", 4, 3);
    feld("mskNeuFlur", 7, 3);
    liste("grdNeuFlur", 7);
    z = 8;
    trap.step(50, [&] {
        if (Anzahl(zelle(8, 3)) > 0) {
            masked("mskNeuFlur51").setText(zelle(8, 3));
            z = 9;
        }
    });
    weiter(1);

    std::string nummer;
    trap.step(60, [&] { nummer = zelle(z, 1); });
    if (nummer == "30.21.2.2") {
        liste("txt_2", z + 1);
        feld("mskGesamt2", z + 1, 3);
        weiter(3);
        trap.step(60, [&] { nummer = zelle(z, 1); });
    }
    if (nummer == "30.21.2.3") {
        feld("mskGesamt75", z + 1, 3);
        liste("txt_50", z + 1);
        // The further row, when written, stands after one empty row; it alone has no item
        // number and its description in column 2. Without it the next block starts there.
        bool mitWeiteren = false;
        trap.step(70, [&] {
            const std::int16_t w = Zeile(z, 3);
            mitWeiteren =
                zelle(w, 1).empty() && ohneEndblanks(zelle(w, 2)) == ohneEndblanks(kWeitereKleine);
            if (mitWeiteren) masked("mskWeiter75").setText(zelle(w, 3));
        });
        weiter(mitWeiteren ? 5 : 3);
        trap.step(60, [&] { nummer = zelle(z, 1); });
    }
    if (nummer == "30.21.2.4") {
        feld("mskGesamt599", z + 1, 3);
        liste("Text4", z + 1);
        weiter(3);
    }

    feld("mskGP", z, 3);
    trap.step(80, [&] { masked("mskAGP").setText(zelle(Zeile(z, 2), 3)); });
    weiter(6);

    trap.step(90, [&] {
        const bool splitter = zelle(z, 1) == "30.1.2";
        checkBox("sevCheck1").setValue(splitter ? 1 : 0);
        // Set by the program, the box fires no Click: the 0,7 beside it follows it here.
        label("lblSplitter").setVisible(splitter);
        if (splitter) z = Zeile(z, 2);
    });
    trap.step(100, [&] {
        const std::string block = zelle(z, 1);
        if (block == "30.23.1") {
            z = Zeile(z, 2);
            // Written as "<land value> €/m²". An empty field came out as blanks and goes back
            // empty, not as 0; the thousands point of 1000 and more would not fit the field.
            const std::string wert = zelle(z, 2);
            const bool ziffern = wert.find_first_of("0123456789") < wert.find("€");
            masked("mskBoden")
                .setText(ziffern ? ohneTausenderpunkte(
                                       WertFormatieren(germanNumberText(führendeZahl(wert)), 4, 0))
                                 : "    ");
            label("lblFaktor").setCaption(zelle(z, 3));
        } else if (block == "30.23.2") {
            z = Zeile(z, 2);
            combo("cmbKlassifizierung").setText(zelle(z, 2));
            label("lblStrasse").setCaption(zelle(z, 3));
        }
    });
    weiter(4);
    trap.step(110, [&] {
        // Without a share the table may end before this row: then there is nothing to read.
        if (z <= t.Rows().Count() && zelle(z, 2).rfind("Anteil", 0) == 0)
            masked("mskBezug").setText(ohneTausenderpunkte(WertFormatieren(zelle(z, 3), 7, 2)));
    });
    trap.step(120, [&] { GebührBerechnen(); });
    trap.step(130, [&] {
        const auto gebildet =
            Variant(static_cast<std::int32_t>(anzahl("mskNeuFlur")) + anzahl("mskNeuFlur51"))
                .toInteger();
        masked("mskGesamt")
            .setText(ohneTausenderpunkte(WertFormatieren(std::to_string(gebildet), 4, 0)));
    });
}

}  // namespace tarvex
