#include "calculators/frmKat2.h"

#include <array>

#include "calculators/faktoren.h"
#include "calculators/flurstuecke.h"
#include "calculators/zahlen.h"
#include "support/number_text.h"

namespace tarvex {

namespace {

struct Posten {
    const char* feld;
    const char* betrag;
    double einzelgebühr;
};
// In the order the subtotal adds them.
constexpr std::array<Posten, 5> kPosten = {{{"mskAusFlur", "lblAusFlur", 150.0},
                                            {"mskNeuFlur", "lblNeuFlur", 230.0},
                                            {"mskNeuFlur51", "lblNeuFlur51", 210.0},
                                            {"mskGP", "lblGP", 40.0},
                                            {"mskAGP", "lblAGP", 25.0}}};

constexpr int kZeile = 360;  // row pitch in twips
constexpr int kNummerX = 240;
constexpr int kTextX = 1200;
constexpr int kFeldX = 5400;
constexpr int kEinheitX = 6240;
constexpr int kBetragX = 7500;

int oben(double reihe) { return 240 + static_cast<int>(reihe * kZeile); }

}  // namespace

frmKat2::frmKat2()
    : KalkulatorFenster({"frmKat2", "Baulandumlegung nach Nr. 30.2", "TARVEX_2",
                         "Bereich Bodenwert", 9600, 7800}) {
    for (const char* feld : {"mskAusFlur", "mskNeuFlur", "mskNeuFlur51", "mskGP", "mskAGP"})
        berechnenBeimVerlassen(feld);
    markierenBeimFokus("mskGesamt");
    on("mskGesamt", ui::Event::LostFocus, [this](ui::EventArgs&) { mskGesamt_LostFocus(*this); });
    BodenwertAnmelden(*this);
    FaktorAAnmelden(*this);
}

void frmKat2::FelderAnlegen() {
    const auto text = [&](const std::string& name, double reihe, int x, const std::string& t,
                          int breite) {
        addLabel(name, t, {x, oben(reihe) + 30, breite, 255});
    };
    const auto feld = [&](const std::string& name, double reihe, const std::string& beschriftung) {
        auto& f = addMaskedField(name, "####", {kFeldX, oben(reihe), 660, 285});
        f.setMaxLength(4);
        f.setStaticLabel(beschriftung);
    };
    const auto einheit = [&](const std::string& name, double reihe, const std::string& t) {
        text(name, reihe, kEinheitX, t, 900);
    };
    const auto betrag = [&](const std::string& name, double reihe, const std::string& anfang,
                            const std::string& beschriftung) {
        addLabel(name, anfang, {kBetragX, oben(reihe) + 30, 1320, 255})
            .setStaticLabel(beschriftung);
    };

    text("lblNr1", 0, kNummerX, "30.21.1", 900);
    text("lblAusgangsflurstücke", 0, kTextX, "Ausgangsflurstücke", 2400);
    feld("mskAusFlur", 0, "Anzahl");
    einheit("lblEinzelAusFlur", 0, "150,00");
    betrag("lblAusFlur", 0, "0,00", "");
    addTextBox("grdAusFlur", {kTextX, oben(1), 3300, 555}).setMultiLine(true);

    text("lblNr2", 2.75, kNummerX, "30.21.2.1", 900);
    text("lblGebildete", 2.75, kTextX, "gebildetete Flurstücke", 2400);
    feld("mskGesamt", 2.75, "Gesamt");
    feld("mskNeuFlur", 3.75, "Anzahl");
    einheit("lblEinzelNeuFlur", 3.75, "230,00");
    betrag("lblNeuFlur", 3.75, "0,00", "");
    feld("mskNeuFlur51", 4.75, "");
    einheit("lblEinzelNeuFlur51", 4.75, "210,00");
    betrag("lblNeuFlur51", 4.75, "0,00", "");
    addTextBox("grdNeuFlur", {kTextX, oben(3.75), 3300, 555}).setMultiLine(true);

    text("lblNr3", 6, kNummerX, "30.21.3", 900);
    text("lblGrenzpunkte", 6, kTextX, "Grenzpunkte der neuen Grenze", 3600);
    feld("mskGP", 6, "");
    einheit("lblEinzelGP", 6, "40,00");
    betrag("lblGP", 6, "0,00", "");
    text("lblNr4", 7, kNummerX, "30.21.4", 900);
    text("lblAbzumarkende", 7, kTextX, "abzumarkende Grenzpunkte der neuen Grenze", 4000);
    feld("mskAGP", 7, "");
    einheit("lblEinzelAGP", 7, "25,00");
    betrag("lblAGP", 7, "0,00", "");
    betrag("lblZwischen", 8.25, "0,00", "Zwischensumme");

    text("lblNr5", 9.5, kNummerX, "30.23.1", 900);
    feld("mskBoden", 9.5, "Bodenwert €/m²");
    addLabel("lblFaktor", "1,0", {kBetragX - 600, oben(9.5) + 30, 600, 255})
        .setStaticLabel("Faktor");

    text("lblNr6", 10.5, kNummerX, "30.2.1", 900);
    text("lblFaktorA", 10.5, kTextX, "Faktor A, bauliche Nutzung", 3600);
    addOptionButton("sevOption1", "W, M, SO", {kTextX + 240, oben(11.5), 2400, 255}, "FaktorA")
        .setValue(true);
    addOptionButton("sevOption2", "G, sonstige Sondergebiete",
                    {kTextX + 240, oben(12.5), 3300, 255}, "FaktorA");
    addLabel("lblDichtefaktor", "1,7", {kBetragX - 600, oben(11.5) + 30, 600, 255})
        .setStaticLabel("Faktor");

    text("lblNr7", 13.75, kNummerX, "30.2.4", 900);
    addCheckBox("chkErmäßigung", kErmäßigungText, {kTextX, oben(13.75), 7800, 285});

    betrag("lblSumme", 15, "0,0", "Gesamtsumme");
}

void frmKat2::GebührBerechnen() {
    ErrorTrap trap(name(), "GebührBerechnen");
    double zwischen = 0.0;
    for (const Posten& p : kPosten) {
        trap.step(10, [&] {
            const double gebühr = Anzahl(masked(p.feld).text()) * p.einzelgebühr;
            label(p.betrag).setCaption(Betragstext(gebühr));
            zwischen += gebühr;
        });
    }
    trap.step(20, [&] { label("lblZwischen").setCaption(Betragstext(zwischen)); });
    double faktorA = 0.0;
    double wertfaktor = 0.0;
    trap.step(30, [&] { faktorA = CVal(label("lblDichtefaktor").caption()); });
    trap.step(40, [&] { wertfaktor = CVal(label("lblFaktor").caption()); });
    trap.step(50,
              [&] { label("lblSumme").setCaption(Betragstext(wertfaktor * zwischen * faktorA)); });
}

}  // namespace tarvex
