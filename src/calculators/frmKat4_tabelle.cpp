// frmKat4's fee table: the rows OK writes and the read-back of the same layout.
//
// Layout: 3 item and "Gebäudebeschreibung", 4 the description, 6 the count, 8 and 9 the
// building costs, 11 the base fee, 12 the further groups when there are any, then the fee and,
// two rows below it, the share when it is not 1000.

#include "calculators/frmKat4.h"
#include "calculators/zahlen.h"
#include "document/fee_table.h"
#include "platform/variant/variant.h"
#include "support/number_text.h"

namespace tarvex {

namespace {

constexpr const char* kKeineGruppen = "    ";  // mskAnzahl30 with no further group

}  // namespace

std::int16_t frmKat4::Zeilenzahl() { return Zeile(14, anteilIst1000() ? 0 : 2); }

void frmKat4::ZeilenSchreiben(ErrorTrap& trap, word::Table& t) {
    // One cell per step: a cell that fails stays empty and the rest is still written.
    const auto zelle = [&](std::int16_t zeile, short spalte, const auto& text,
                           const char* kommentar = "") {
        trap.step(200,
                  [&] { wordTabelle(t, zeile, spalte, std::string(text()), false, kommentar); });
    };

    zelle(3, 1, [] { return "30.24"; });
    zelle(3, 2, [] { return "Gebäudebeschreibung"; });
    zelle(4, 2, [&] { return textBox("txtGebäude").text(); });
    zelle(6, 2, [] { return "Anzahl der Gebäude oder Gebäudeteile"; });
    zelle(6, 3, [&] { return masked("mskAnzahl").text(); });
    zelle(8, 2, [] { return "Summe der Baukosten"; });
    zelle(9, 2, [&] {
        const std::string kosten = masked("mskBaukosten").text();
        if (checkBox("chkBereich").value() == 1) return Baukostenbereich(führendeZahl(kosten)).text;
        return WertFormatieren(kosten, 7, 0) + " €";
    });
    zelle(11, 2, [] { return "Grundgebühr bis zu 5 Gebäuden oder Gebäudeteilen"; });
    zelle(
        11, 5, [&] { return WertFormatieren(label("lblGebühr100").caption(), 8, 2) + " €"; }, "no");

    std::int16_t z = 13;
    bool weitere = false;
    trap.step(210, [&] { weitere = masked("mskAnzahl30").text() != kKeineGruppen; });
    if (weitere) {
        zelle(12, 2, [] { return "weitere 1 bis 5 Gebäude oder Gebäudeteile"; });
        zelle(12, 3, [&] { return masked("mskAnzahl30").text(); });
        zelle(12, 4, [&] { return label("lblGebühr30").caption(); });
        zelle(
            12, 5, [&] { return WertFormatieren(label("lblSumme30").caption(), 8, 2) + " €"; },
            "no");
        z = 14;
    }

    GebührUndAnteilSchreiben(trap, t, z, "Gebühr", 220, 230);
}

void frmKat4::TabelleEinlesen(const word::Table& t) {
    ErrorTrap trap(name(), "TabelleEinlesen");
    const auto zelle = [&](std::int16_t zeile, short spalte) {
        return ZelleEinlesen(t, zeile, spalte);
    };

    trap.step(10, [&] { textBox("txtGebäude").setText(Zeilen(zelle(4, 2))); });
    trap.step(20, [&] {
        // 1.000 and more: the thousands point would not fit the four-digit field.
        const double anzahl = CVal(zelle(6, 3));
        masked("mskAnzahl")
            .setText(ohneTausenderpunkte(WertFormatieren(germanNumberText(anzahl), 4, 0)));
    });
    trap.step(30, [&] {
        const std::string kosten = zelle(9, 2);
        if (kosten.find("bis") != std::string::npos) {
            masked("mskBaukosten").setText("20000    ");
            checkBox("chkBereich").setValue(1);
        } else if (kosten.find("zwischen") != std::string::npos) {
            masked("mskBaukosten").setText(std::to_string(Bereichsanfang(kosten)));
            checkBox("chkBereich").setValue(1);
        } else {
            masked("mskBaukosten").setText(ohneTausenderpunkte(formatGerman(CVal(kosten), 0)));
        }
    });
    trap.step(40, [&] {
        // The share comes back with its decimals: 999,99 must not become 1.000 (which would
        // drop the share rows on the next OK), nor 500,50 become 501.
        const std::int16_t gebühr = zelle(12, 2).empty() ? 13 : 14;
        const std::int16_t anteil = Zeile(gebühr, 2);
        if (t.Rows().Count() < anteil) return;  // no share: the table ends at 14 rows
        if (zelle(anteil, 2).rfind("Anteil", 0) == 0)
            masked("mskBezug")
                .setText(ohneTausenderpunkte(WertFormatieren(zelle(anteil, 3), 7, 2)));
    });
    trap.step(50, [&] { GebührBerechnen(); });
}

}  // namespace tarvex
