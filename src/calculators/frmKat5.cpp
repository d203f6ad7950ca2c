#include "calculators/frmKat5.h"

#include <array>

#include "calculators/faktoren.h"
#include "calculators/zahlen.h"

namespace tarvex {

namespace {

constexpr std::array<const char*, 5> kArten = {
    "Grenzfeststellung mit Abmarkung auf Antrag",
    "Grenzfeststellung mit Abmarkung mit Katastervermessung",
    "Grenzfeststellung mit Abmarkung von Amts wegen",
    "Grenzfeststellung ohne Abmarkung auf Antrag",
    "Grenzfeststellung ohne Abmarkung mit Katastervermessung",
};
constexpr std::array<const char*, 5> kNummern = {"30.6.1.1", "30.6.1.2", "30.6.1.3", "30.6.2.1",
                                                 "30.6.2.2"};

constexpr int kZeile = 360;   // row pitch in twips
constexpr int kFeldX = 3600;  // masked fields
constexpr int kEinheitX = 4560;
constexpr int kBetragX = 7320;

// Kinds 30.6.1.1 and 30.6.2.1 carry the base amount.
double Sockelbetrag(int art) { return art == 0 || art == 3 ? 200.0 : 0.0; }

}  // namespace

const char* Artnummer(int art) { return kNummern.at(static_cast<std::size_t>(art)); }

frmKat5::frmKat5()
    : KalkulatorFenster({"frmKat5", "Grenzfeststellung nach Nr. 30.6", "TARVEX_5",
                         "Bereich Bodenwert", 9600, 7800}) {
    berechnenBeimVerlassen("mskAGP");
    markierenBeimFokus("mskAGPSohne");
    on("mskAGPSohne", ui::Event::LostFocus, [this](ui::EventArgs&) { mskAGPSohne_LostFocus(); });
    on("optNr", ui::Event::Click, [this](ui::EventArgs&) { GebührBerechnen(); });
    BodenwertAnmelden(*this);
    KlassifizierungAnmelden(*this, "lblStrasse");
}

void frmKat5::FelderAnlegen() {
    for (int i = 0; i < 5; ++i) {
        auto& option = addOptionButton("optNr(" + std::to_string(i) + ")", kArten[i],
                                       {1200, 240 + i * 300, 6000, 255}, "Art");
        option.setStaticLabel(Artnummer(i));
    }
    option("optNr", 0).setValue(true);

    const auto feld = [&](const std::string& name, int reihe, const std::string& text) {
        auto& f = addMaskedField(name, "####", {kFeldX, 1860 + reihe * kZeile, 660, 285});
        f.setMaxLength(4);
        f.setStaticLabel(text);
        return &f;
    };
    const auto betrag = [&](const std::string& name, int reihe, const std::string& anfang,
                            const std::string& text) {
        addLabel(name, anfang, {kBetragX, 1890 + reihe * kZeile, 1320, 255}).setStaticLabel(text);
    };
    const auto einheit = [&](const std::string& name, int reihe, const std::string& text) {
        addLabel(name, text, {kEinheitX, 1890 + reihe * kZeile, 900, 255});
    };

    feld("mskAGPSohne", 0, "Anzahl Grenzpunkte ");
    feld("mskAGPo", 1, "30.22.1");
    einheit("lblEinzelAGPo", 1, "95,00");
    betrag("lblAGPo", 1, "0,00", "");
    feld("mskAGP26o", 2, "");
    einheit("lblEinzelAGP26o", 2, "85,00");
    betrag("lblAGP26o", 2, "0,00", "");
    feld("mskAGP51o", 3, "");
    einheit("lblEinzelAGP51o", 3, "75,00");
    betrag("lblAGP51o", 3, "0,00", "");
    feld("mskAGP", 4, "30.22.2  abgemarkte Grenzpunkte");
    einheit("lblEinzelAGP", 4, "25,00");
    betrag("lblAGP", 4, "0,00", "");
    betrag("lblZwischen", 5, "0,00", "Zwischensumme");

    feld("mskBoden", 6, "30.23.1  Bodenwert €/m²");
    addLabel("lblFaktor", "1,0", {kEinheitX + 600, 1890 + 6 * kZeile, 700, 255})
        .setStaticLabel("Faktor");
    addLabel("lblOder", "oder", {1200, 1890 + 7 * kZeile, 600, 255});
    auto& klasse = addComboBox("cmbKlassifizierung", Klassifizierungen(),
                               {1200, 1860 + 8 * kZeile, 4560, 315});
    klasse.setStaticLabel("30.23.2  Klassifizierung");
    addLabel("lblStrasse", "0,0", {kEinheitX + 1320, 1890 + 8 * kZeile, 700, 255})
        .setStaticLabel("Faktor");

    betrag("lblZF", 9, "0,0", "Zwischensumme * Faktor");
    betrag("lblSockel", 10, "200,00", "Sockelbetrag");
    betrag("lblSumme", 11, "0,0", "Gesamtsumme");
}

int frmKat5::Art() {
    for (int i = 0; i < 4; ++i)
        if (option("optNr", i).value()) return i;
    return 4;
}

void frmKat5::GebührBerechnen() {
    ErrorTrap trap(name(), "GebührBerechnen");
    double sockel = 0.0;
    double zwischen = 0.0;
    trap.step(10, [&] {
        const int art = Art();
        sockel = Sockelbetrag(art);
        auto& abgemarkt = masked("mskAGP");
        if (art <= 2) {
            abgemarkt.setEnabled(true);
        } else {
            // Kinds without marking: marked points must not enter the fee or the table.
            abgemarkt.setText("    ");
            abgemarkt.setEnabled(false);
        }
    });
    trap.step(20, [&] { label("lblSockel").setCaption(Betragstext(sockel)); });

    struct Linie {
        const char* feld;
        const char* betrag;
        double einzelgebühr;
    };
    constexpr std::array<Linie, 4> linien = {{{"mskAGP", "lblAGP", 25.0},
                                              {"mskAGPo", "lblAGPo", 95.0},
                                              {"mskAGP26o", "lblAGP26o", 85.0},
                                              {"mskAGP51o", "lblAGP51o", 75.0}}};
    for (const Linie& l : linien) {
        trap.step(30, [&] {
            const double gebühr = Anzahl(masked(l.feld).text()) * l.einzelgebühr;
            label(l.betrag).setCaption(Betragstext(gebühr));
            zwischen += gebühr;
        });
    }
    trap.step(40, [&] { label("lblZwischen").setCaption(Betragstext(zwischen)); });
    double faktor = 0.0;
    trap.step(50, [&] { faktor = angewandterFaktor(*this); });
    trap.step(60, [&] { label("lblZF").setCaption(Betragstext(zwischen * faktor)); });
    trap.step(70, [&] { label("lblSumme").setCaption(Betragstext(zwischen * faktor + sockel)); });
}

void frmKat5::mskAGPSohne_LostFocus() {
    ErrorTrap trap(name(), "mskAGPSohne");
    std::int16_t n = 0;
    trap.step(10, [&] { n = Anzahl(masked("mskAGPSohne").text()); });
    trap.step(20, [&] {
        auto& erste = masked("mskAGPo");
        auto& zweite = masked("mskAGP26o");
        auto& dritte = masked("mskAGP51o");
        if (n > 25) {
            erste.setText("25  ");
            const int rest = n - 25;
            if (rest <= 25) {
                zweite.setText(Feldtext(rest));
                dritte.setText("    ");
            } else {
                zweite.setText("25  ");
                dritte.setText(Feldtext(rest - 25));
            }
        } else {
            erste.setText(masked("mskAGPSohne").text());
            zweite.setText("    ");
            dritte.setText("    ");
        }
    });
    trap.step(30, [&] { GebührBerechnen(); });
}

std::string frmKat5::Überschrift() {
    return std::string("Grenzfeststellung nach Nr. ") + Artnummer(Art());
}

}  // namespace tarvex
