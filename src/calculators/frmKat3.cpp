#include "calculators/frmKat3.h"

#include <array>

#include "calculators/faktoren.h"
#include "calculators/flurstuecke.h"
#include "calculators/zahlen.h"
#include "support/number_text.h"

namespace tarvex {

namespace {

constexpr int kZeile = 360;     // row pitch in twips
constexpr int kOben = 660;      // first row below the column captions
constexpr int kNummerX = 240;   // item numbers
constexpr int kTextX = 1200;    // row captions and parcel lists
constexpr int kGesamtX = 4800;  // total of formed parcels
constexpr int kAnzahlX = 5760;  // counts
constexpr int kEinheitX = 6720;
constexpr int kBetragX = 8040;

int oben(int reihe) { return kOben + reihe * kZeile; }

// One fee line: count field, its fee label and the unit fee.
struct Linie {
    const char* feld;
    const char* betrag;
    double einzelgebühr;
};
// In the order the subtotal adds them.
constexpr std::array<Linie, 5> kLinien = {{{"mskAusFlur", "lblAusFlur", 150.0},
                                           {"mskNeuFlur", "lblNeuFlur", 230.0},
                                           {"mskNeuFlur51", "lblNeuFlur51", 210.0},
                                           {"mskGP", "lblGP", 40.0},
                                           {"mskAGP", "lblAGP", 25.0}}};

}  // namespace

frmKat3::frmKat3()
    : KalkulatorFenster({"frmKat3", "Lang gestreckte Anlagen nach Nr. 30.3", "TARVEX_3",
                         "Bereich Bodenwert", 10200, 6600}) {
    for (const Linie& l : kLinien) berechnenBeimVerlassen(l.feld);
    markierenBeimFokus("mskFlurstücke");
    on("mskFlurstücke", ui::Event::LostFocus, [this](ui::EventArgs&) { FlurstückeAufteilen(); });
    KlassifizierungAnmelden(*this, "lblFaktor");
}

void frmKat3::FelderAnlegen() {
    int nr = 0;
    // Static captions of the window; their names only need to be distinct.
    const auto text = [&](const std::string& caption, int x, int reihe, int breite) {
        addLabel("lblText" + std::to_string(++nr), caption, {x, oben(reihe) + 30, breite, 255});
    };
    const auto feld = [&](const std::string& name, int x, int reihe) {
        addMaskedField(name, "####", {x, oben(reihe), 660, 285}).setMaxLength(4);
    };
    const auto liste = [&](const std::string& name, int reihe) {
        text("Flurstücke", kNummerX, reihe, 900);
        addTextBox(name, {kTextX, oben(reihe), kAnzahlX + 660 - kTextX, 285});
    };
    const auto linie = [&](const std::string& feldname, const std::string& betrag, int reihe,
                           const std::string& einzelgebühr) {
        feld(feldname, kAnzahlX, reihe);
        text(einzelgebühr, kEinheitX, reihe, 900);
        addLabel(betrag, "0,00", {kBetragX, oben(reihe) + 30, 1320, 255});
    };

    text("Gesamt", kGesamtX, -1, 800);
    text("Anzahl", kAnzahlX, -1, 800);
    text("Einzelgebühr", kEinheitX, -1, 1200);
    text("Gebühr", kBetragX, -1, 1200);

    text("30.21.1", kNummerX, 0, 900);
    text("Ausgangsflurstücke", kTextX, 0, 3400);
    linie("mskAusFlur", "lblAusFlur", 0, "150,00");
    liste("grdAusFlur", 1);

    text("30.21.2.1", kNummerX, 2, 900);
    text("gebildetete Flurstücke", kTextX, 2, 3400);
    feld("mskFlurstücke", kGesamtX, 2);
    liste("grdNeuFlur", 3);
    text("die ersten 50", kTextX, 4, 3400);
    linie("mskNeuFlur", "lblNeuFlur", 4, "230,00");
    text("weitere", kTextX, 5, 3400);
    linie("mskNeuFlur51", "lblNeuFlur51", 5, "210,00");

    text("30.21.3", kNummerX, 6, 900);
    text("Grenzpunkte der neuen Grenze", kTextX, 6, 3400);
    linie("mskGP", "lblGP", 6, "40,00");
    text("30.21.4", kNummerX, 7, 900);
    text("abzumarkende Grenzpunkte", kTextX, 7, 3400);
    linie("mskAGP", "lblAGP", 7, "25,00");
    text("Zwischensumme", kTextX, 8, 3400);
    addLabel("lblZwischen", "0,00", {kBetragX, oben(8) + 30, 1320, 255});

    text("30.23.2", kNummerX, 9, 900);
    text("Klassifizierung", kTextX, 9, 3400);
    text("Faktor", kAnzahlX, 9, 900);
    addLabel("lblFaktor", "1,5", {kEinheitX, oben(9) + 30, 700, 255});
    // Wide enough for the longest entry.
    addComboBox("cmbKlassifizierung", Klassifizierungen(), {kTextX, oben(10), 8640, 315});

    text("Gesamtsumme", kTextX, 11, 3400);
    addLabel("lblSumme", "0,0", {kBetragX, oben(11) + 30, 1320, 255});

    // The only factor here is the classification; nothing in this window reads the box.
    checkBox("chkBereich").setVisible(false);
}

void frmKat3::AuswahlVorbelegen() { combo("cmbKlassifizierung").setListIndex(0); }

void frmKat3::GebührBerechnen() {
    ErrorTrap trap(name(), "GebührBerechnen");
    double zwischen = 0.0;
    for (const Linie& l : kLinien) {
        trap.step(10, [&] {
            const double gebühr = Anzahl(masked(l.feld).text()) * l.einzelgebühr;
            label(l.betrag).setCaption(Betragstext(gebühr));
            zwischen += gebühr;
        });
    }
    trap.step(20, [&] { label("lblZwischen").setCaption(Betragstext(zwischen)); });
    trap.step(30, [&] {
        const double faktor = CVal(label("lblFaktor").caption());
        label("lblSumme").setCaption(Betragstext(zwischen * faktor));
    });
}

void frmKat3::FlurstückeAufteilen() {
    ErrorTrap trap(name(), "FlurstückeAufteilen");
    trap.step(10, [&] { tarvex::FlurstückeAufteilen(*this, "mskFlurstücke"); });
    trap.step(20, [&] { GebührBerechnen(); });
}

}  // namespace tarvex
