#include "calculators/frmKat4.h"

#include <array>

#include "calculators/zahlen.h"
#include "platform/error/error.h"
#include "platform/variant/variant.h"
#include "support/number_text.h"

namespace tarvex {

namespace {

struct Stufe {
    double bis;  // highest cost of the bracket; the lowest is the previous one's plus 1
    double gebühr;
    const char* text;
};
constexpr std::array<Stufe, 6> kStufen = {{{25000, 100, "bis 25 T€"},
                                           {100000, 200, "zwischen 25 T€ und 100 T€"},
                                           {400000, 300, "zwischen 100 T€ und 400 T€"},
                                           {800000, 500, "zwischen 400 T€ und 800 T€"},
                                           {2000000, 800, "zwischen 800 T€ und 2 M€"},
                                           {5000000, 1200, "zwischen 2 M€ und 5 M€"}}};
constexpr std::int32_t kSchritt = 5000000;  // above the table: steps of 5 M€ ...
constexpr double kSchrittgebühr = 1200;     // ... each worth another 1.200 €
constexpr double kWeitereFaktor = 0.3;      // each further group: 30 % of the base fee

constexpr int kZeile = 360;  // row pitch in twips
constexpr int kFeldX = 4200;
constexpr int kEinzelX = 5700;
constexpr int kBetragX = 7800;

}  // namespace

Kostenbereich Baukostenbereich(double kosten) {
    double von = 0;
    for (const Stufe& s : kStufen) {
        if (kosten >= von && kosten <= s.bis) return {s.gebühr, s.text};
        von = s.bis + 1;
    }
    // 64-bit products: the nine-place field reaches 999.999.999 €, step 199.
    const std::int64_t n = Variant(kosten).toLong() / kSchritt;
    return {static_cast<double>(n + 1) * kSchrittgebühr,
            "zwischen " + std::to_string(n * 5) + " M€ und " + std::to_string((n + 1) * 5) + " M€"};
}

std::int64_t Bereichsanfang(const std::string& text) {
    if (text.find("bis") != std::string::npos) return 20000;
    const auto zwischen = text.find("zwischen");
    if (zwischen == std::string::npos) throw Error(errc::typeMismatch);
    const std::string rest = text.substr(zwischen + 8);
    const auto tausend = rest.find("T€");
    const auto million = rest.find("M€");
    if (tausend == std::string::npos && million == std::string::npos)
        throw Error(errc::typeMismatch);
    const std::int64_t einheit = tausend < million ? 1000 : 1000000;
    return static_cast<std::int64_t>(führendeZahl(rest)) * einheit + 1;
}

frmKat4::frmKat4()
    : KalkulatorFenster({"frmKat4", "Gebäudeaufnahme nach Nr. 30.4", "TARVEX_4",
                         "Bereich Baukosten", 9600, 5300}) {
    berechnenBeimVerlassen("mskAnzahl");
    berechnenBeimVerlassen("mskAnzahl30");
    berechnenBeimVerlassen("mskBaukosten");
}

void frmKat4::FelderAnlegen() {
    auto& gebäude = addTextBox("txtGebäude", {kFeldX, 300, 5040, 900});
    gebäude.setMultiLine(true);
    gebäude.setStaticLabel("30.24  Gebäudebeschreibung");

    const auto y = [](int reihe) { return 1380 + reihe * kZeile; };
    auto& anzahl = addMaskedField("mskAnzahl", "####", {kFeldX, y(0), 660, 285});
    anzahl.setMaxLength(4);
    anzahl.setStaticLabel("Gesamtanzahl der Gebäude oder Gebäudeteile");
    auto& kosten = addMaskedField("mskBaukosten", "#########", {kFeldX, y(1), 1200, 285});
    kosten.setMaxLength(9);
    kosten.setStaticLabel("Summe der Baukosten");
    addLabel("lblEuro", "€", {kFeldX + 1260, y(1) + 30, 300, 255});

    addLabel("lblEinzelgebühr", "Einzelgebühr", {kEinzelX, y(2) + 150, 1500, 255});
    addLabel("lblGebührKopf", "Gebühr", {kBetragX, y(2) + 150, 1200, 255});
    addLabel("lblGebühr100", "100,00", {kBetragX, y(3) + 180, 1320, 255})
        .setStaticLabel("Aufnahme von bis zu 5 Gebäuden");
    auto& weitere = addMaskedField("mskAnzahl30", "####", {kFeldX, y(4) + 150, 660, 285});
    weitere.setMaxLength(4);
    weitere.setStaticLabel("weitere 1 bis 5 Gebäude");
    addLabel("lblMal", "mal", {kFeldX + 780, y(4) + 180, 500, 255});
    addLabel("lblGebühr30", "30,00", {kEinzelX, y(4) + 180, 1320, 255});
    addLabel("lblSumme30", "0,00", {kBetragX, y(4) + 180, 1320, 255});
    addLabel("lblSumme", "100,0", {kBetragX, y(5) + 300, 1320, 255}).setStaticLabel("Gesamtsumme");
}

void frmKat4::GebührBerechnen() {
    ErrorTrap trap(name(), "GebührBerechnen");
    double grund = 0;
    trap.step(10, [&] {
        grund = Baukostenbereich(führendeZahl(masked("mskBaukosten").text())).grundgebühr;
    });
    std::int16_t anzahl = 0;
    trap.step(20, [&] { anzahl = Anzahl(masked("mskAnzahl").text()); });
    trap.step(30, [&] {
        label("lblGebühr100").setCaption(WertFormatieren(germanNumberText(grund), 6, 0));
    });
    trap.step(40, [&] {
        label("lblGebühr30")
            .setCaption(WertFormatieren(germanNumberText(grund * kWeitereFaktor), 6, 0));
    });
    double gebühr = grund;
    trap.step(50, [&] {
        if (anzahl < 6) {
            masked("mskAnzahl30").setText("    ");
            label("lblSumme30").setCaption(" 0,00");
            return;
        }
        const std::int16_t gruppen = static_cast<std::int16_t>((anzahl - 1) / 5);
        // 1.000 groups and more: the thousands point would not fit the four-digit field.
        masked("mskAnzahl30")
            .setText(ohneTausenderpunkte(WertFormatieren(std::to_string(gruppen), 4, 0)));
        const double weitere = gruppen * grund * kWeitereFaktor;
        label("lblSumme30").setCaption(WertFormatieren(germanNumberText(weitere), 7, 2));
        gebühr = grund + weitere;
    });
    trap.step(
        60, [&] { label("lblSumme").setCaption(WertFormatieren(germanNumberText(gebühr), 6, 2)); });
}

}  // namespace tarvex
