// frmKat5's fee table: the rows OK writes and the read-back that walks the same layout.
//
// Layout, with r the current row: 3 "30.22.1" and tier 1; +1 tier 2 and +1 tier 3 when
// present; +2 marked points (empty row for none); +2 subtotal; +2 the three factor rows;
// +2 subtotal times factor; +2 base amount when there is one; +2 fee; +2 share when not 1000.

#include <array>

#include "calculators/faktoren.h"
#include "calculators/frmKat5.h"
#include "calculators/zahlen.h"
#include "document/fee_table.h"
#include "platform/variant/variant.h"
#include "support/number_text.h"

namespace tarvex {

namespace {
struct Stufe {
    const char* feld;
    const char* betrag;
    const char* einzelgebühr;
};
constexpr std::array<Stufe, 3> kStufen = {{{"mskAGPo", "lblAGPo", "95,00 €"},
                                           {"mskAGP26o", "lblAGP26o", "85,00 €"},
                                           {"mskAGP51o", "lblAGP51o", "75,00 €"}}};
}  // namespace

std::int16_t frmKat5::Zeilenzahl() {
    int mehr = 0;
    if (Anzahl(masked("mskAGP26o").text()) > 0) mehr += 1;
    if (Anzahl(masked("mskAGP51o").text()) > 0) mehr += 1;
    if (führendeZahl(label("lblSockel").caption()) > 0) mehr += 2;
    if (!anteilIst1000()) mehr += 2;
    return Zeile(15, mehr);
}

void frmKat5::ZeilenSchreiben(ErrorTrap& trap, word::Table& t) {
    std::int16_t z = 3;
    // One cell per step: a cell that fails stays empty and the rest is still written.
    const auto zelle = [&](int zeile, short spalte, const auto& text, bool fett = false,
                           const char* kommentar = "") {
        trap.step(200, [&] {
            wordTabelle(t, static_cast<short>(zeile), spalte, std::string(text()), fett, kommentar);
        });
    };
    const auto weiter = [&](int schritt) { trap.step(210, [&] { z = Zeile(z, schritt); }); };

    zelle(3, 1, [] { return "30.22.1"; });
    zelle(3, 2, [] { return "Grenzfeststellung"; });
    for (std::size_t i = 0; i < kStufen.size(); ++i) {
        const Stufe& s = kStufen[i];
        bool belegt = false;
        trap.step(220, [&] { belegt = Anzahl(masked(s.feld).text()) > 0; });
        if (!belegt) continue;
        if (i > 0) weiter(1);
        zelle(z, 3, [&] { return masked(s.feld).text(); });
        zelle(z, 4, [&] { return s.einzelgebühr; });
        zelle(
            z, 5, [&] { return label(s.betrag).caption() + " €"; }, false, "no");
    }

    weiter(2);
    bool abgemarkt = false;
    trap.step(230, [&] { abgemarkt = Anzahl(masked("mskAGP").text()) > 0; });
    if (abgemarkt) {
        zelle(z, 1, [] { return "30.22.2"; });
        zelle(z, 2, [] { return "abgemarkte Grenzpunkte"; });
        zelle(z, 3, [&] { return masked("mskAGP").text(); });
        zelle(z, 4, [] { return "25,00 €"; });
        zelle(
            z, 5, [&] { return label("lblAGP").caption() + " €"; }, false, "no");
    }

    weiter(2);
    zelle(
        z, 2, [] { return "Zwischensumme"; }, true);
    zelle(
        z, 5, [&] { return label("lblZwischen").caption() + " €"; }, false, "no");

    weiter(2);
    FaktorZeilenSchreiben(trap, t, z, *this);
    weiter(2);

    weiter(2);
    zelle(z, 2, [] { return "Zwischensumme * Faktor"; });
    zelle(
        z, 5, [&] { return label("lblZF").caption() + " €"; }, false, "no");

    bool sockel = false;
    trap.step(240, [&] { sockel = führendeZahl(label("lblSockel").caption()) > 0; });
    if (sockel) {
        weiter(2);
        zelle(z, 2, [] { return "Sockelbetrag"; });
        zelle(
            z, 5, [&] { return label("lblSockel").caption() + " €"; }, false, "no");
    }

    weiter(2);
    GebührUndAnteilSchreiben(trap, t, z, "Gebühr", 250, 210);
}

void frmKat5::TabelleEinlesen(const word::Table& t) {
    ErrorTrap trap(name(), "TabelleEinlesen");
    const auto zelle = [&](int zeile, short spalte) {
        return ZelleEinlesen(t, static_cast<short>(zeile), spalte);
    };

    trap.step(10, [&] {
        const std::string kopf = zelle(1, 1);
        int art = 4;
        for (int i = 0; i < 4; ++i) {
            if (kopf.find(Artnummer(i)) != std::string::npos) {
                art = i;
                break;
            }
        }
        option("optNr", art).setValue(true);
    });
    trap.step(20, [&] { masked("mskAGPo").setText(zelle(3, 3)); });

    std::int16_t z = 3;
    // Up to two tier rows follow the first. Each is placed by its unit fee, so that a third
    // tier written without a second (edited by hand) does not come back at the 85 € rate.
    for (int gelesen = 0; gelesen < 2; ++gelesen) {
        bool weiter = false;
        trap.step(30, [&] {
            const std::int16_t zeile = Zeile(z, 1);
            if (zelle(zeile, 1) == "30.22.2" || zelle(zeile, 3).empty()) return;
            const bool dritte = gelesen == 1 || zelle(zeile, 4) == kStufen[2].einzelgebühr;
            masked(dritte ? "mskAGP51o" : "mskAGP26o").setText(zelle(zeile, 3));
            z = zeile;
            weiter = true;
        });
        if (!weiter) break;
    }

    trap.step(40, [&] { z = Zeile(z, 2); });
    trap.step(50, [&] {
        if (zelle(z, 1) == "30.22.2") masked("mskAGP").setText(zelle(z, 3));
    });

    trap.step(60, [&] { z = Zeile(z, 4); });
    const std::int16_t faktorblock = z;
    trap.step(70, [&] { z = Zeile(faktorblock, 2); });
    trap.step(80, [&] {
        if (zelle(faktorblock, 1) != "30.23.2") {
            // Written as "<land value> €/m²". The thousands point of 1000 and more would not
            // fit the four-digit field, so it is dropped and the value comes back unchanged.
            const double bodenwert = CVal(zelle(z, 2));
            masked("mskBoden")
                .setText(ohneTausenderpunkte(WertFormatieren(germanNumberText(bodenwert), 4, 0)));
            label("lblFaktor").setCaption(zelle(z, 3));
        } else {
            combo("cmbKlassifizierung").setText(zelle(z, 2));
            label("lblStrasse").setCaption(zelle(z, 3));
        }
    });

    trap.step(90, [&] {
        const bool mitSockel = zelle(Zeile(z, 4), 2) == "Sockelbetrag";
        const std::int16_t anteilZeile = Zeile(z, mitSockel ? 8 : 6);
        // A table without a share ends before that row: there is nothing to read.
        if (anteilZeile > t.Rows().Count()) return;
        const std::string text = zelle(anteilZeile, 2);
        if (text.rfind("Anteil", 0) == 0)
            masked("mskBezug")
                .setText(ohneTausenderpunkte(WertFormatieren(zelle(anteilZeile, 3), 7, 2)));
    });
    // The total field shows the sum of the tiers read back, so that leaving it splits the
    // same points again instead of wiping the tiers.
    trap.step(95, [&] {
        const int summe = Anzahl(masked("mskAGPo").text()) + Anzahl(masked("mskAGP26o").text()) +
                          Anzahl(masked("mskAGP51o").text());
        masked("mskAGPSohne").setText(std::to_string(summe));
    });
    trap.step(100, [&] { GebührBerechnen(); });
}

}  // namespace tarvex
