#include "calculators/frmKat1.h"

#include <array>

#include "calculators/faktoren.h"
#include "calculators/flurstuecke.h"
#include "calculators/zahlen.h"

namespace tarvex {

namespace {

// Layout in twips: item number, description and list on the left; count, unit fee and
// amount in three columns on the right.
constexpr int kNummerX = 240;
constexpr int kTextX = 1200;
constexpr int kListeBreite = 3960;
constexpr int kFeldX = 6480;
constexpr int kEinheitX = 7440;
constexpr int kBetragX = 8640;
constexpr int kZeile = 360;

struct Posten {
    const char* feld;
    const char* betrag;
    double einzelgebühr;
};

// The nine amounts in the order they are computed and added.
constexpr std::array<Posten, 9> kPosten = {{{"mskAusFlur", "lblAusFlur", 150.0},
                                            {"mskNeuFlur", "lblNeuFlur", 230.0},
                                            {"mskNeuFlur51", "lblNeuFlur51", 210.0},
                                            {"mskGesamt2", "lblNeu2", -345.0},
                                            {"mskGesamt75", "lblNeu75", -230.0},
                                            {"mskWeiter75", "lblNeu75_51", -115.0},
                                            {"mskGesamt599", "lblNeu499", 230.0},
                                            {"mskGP", "lblGP", 40.0},
                                            {"mskAGP", "lblAGP", 25.0}}};

constexpr double kSplitter = 0.7;

}  // namespace

frmKat1::frmKat1()
    : KalkulatorFenster(
          {"frmKat1", "Zerlegung nach Nr. 30.1", "TARVEX_1", "Bereich Bodenwert", 10560, 10620}) {
    for (const char* feld :
         {"mskAusFlur", "mskNeuFlur", "mskNeuFlur51", "mskGP", "mskAGP", "mskWeiter75"})
        berechnenBeimVerlassen(feld);
    markierenBeimFokus("mskGesamt");
    on("mskGesamt", ui::Event::LostFocus, [this](ui::EventArgs&) { mskGesamt_LostFocus(*this); });
    for (const char* feld : {"mskGesamt2", "mskGesamt75", "mskGesamt599"}) {
        markierenBeimFokus(feld);
        on(feld, ui::Event::LostFocus, [this, feld](ui::EventArgs&) {
            ErrorTrap trap("Rechnung", std::string(feld) + "_LostFocus");
            trap.step(10, [&] { GebührBerechnen(); });
        });
    }
    on("sevCheck1", ui::Event::Click, [this](ui::EventArgs&) { sevCheck1_Click(); });
    BodenwertAnmelden(*this);
    KlassifizierungAnmelden(*this, "lblStrasse");
}

void frmKat1::FelderAnlegen() {
    const auto überschrift = [&](int y, const char* nummer, const char* text) {
        addLabel(std::string("lblNr") + nummer, nummer, {kNummerX, y, 900, 255});
        addLabel(std::string("lblText") + nummer, text, {kTextX, y, 6600, 255});
    };
    const auto liste = [&](const std::string& name, int y, int zeilen) {
        addTextBox(name, {kTextX, y, kListeBreite, zeilen * kZeile - 60}).setMultiLine(true);
    };
    // A count field with its caption, and where it has one, unit fee and amount beside it.
    const auto feld = [&](const std::string& name, int y, const std::string& text,
                          const char* einheit = nullptr, const char* betrag = nullptr) {
        auto& f = addMaskedField(name, "####", {kFeldX, y, 660, 285});
        f.setMaxLength(4);
        f.setStaticLabel(text);
        if (einheit) addLabel("lblEinzel" + name.substr(3), einheit, {kEinheitX, y + 30, 900, 255});
        if (betrag) addLabel(betrag, "0,00", {kBetragX, y + 30, 1320, 255});
    };

    int y = 180;
    überschrift(y, "30.21.1", "Ausgangsflurstücke");
    feld("mskAusFlur", y + 300, "Anzahl", "150,00", "lblAusFlur");
    liste("grdAusFlur", y + 300, 2);

    y += 1080;
    überschrift(y, "30.21.2.1", "gebildetete Flurstücke");
    feld("mskGesamt", y + 300, "Gesamt");
    feld("mskNeuFlur", y + 300 + kZeile, "Anzahl", "230,00", "lblNeuFlur");
    feld("mskNeuFlur51", y + 300 + 2 * kZeile, "", "210,00", "lblNeuFlur51");
    liste("grdNeuFlur", y + 300, 3);

    y += 1440;
    überschrift(y, "30.21.2.2", "davon Zerlegung in zwei Flurstücke Flächen  < 75m² ");
    feld("mskGesamt2", y + 300, "Anzahl", "-345,00", "lblNeu2");
    liste("txt_2", y + 300, 2);

    y += 1080;
    überschrift(y, "30.21.2.3", "davon Flächen  < 75m² ");
    feld("mskGesamt75", y + 300, "erstes", "-230,00", "lblNeu75");
    feld("mskWeiter75", y + 300 + kZeile, "weitere", "-115,00", "lblNeu75_51");
    liste("txt_50", y + 300, 2);

    y += 1080;
    überschrift(y, "30.21.2.4", "davon Flächen > 599/524 m² (nur wirksame Erhöhungen)");
    feld("mskGesamt599", y + 300, "Anzahl", "230,00", "lblNeu499");
    liste("Text4", y + 300, 2);

    y += 1140;
    überschrift(y, "30.21.3", "Grenzpunkte der neuen Grenze");
    feld("mskGP", y - 30, "", "40,00", "lblGP");
    y += kZeile;
    überschrift(y, "30.21.4", "abzumarkende Grenzpunkte der neuen Grenze");
    feld("mskAGP", y - 30, "", "25,00", "lblAGP");
    y += kZeile + 60;
    addLabel("lblZwischen", "0,00", {kBetragX, y, 1320, 255}).setStaticLabel("Zwischensumme");

    y += kZeile + 60;
    addCheckBox("sevCheck1", "Ermäßigung Splitterflächen ", {kTextX, y, 3000, 285});
    addLabel("lblSplitter", kSplitterFaktor, {kTextX + 3240, y + 15, 2400, 255}).setVisible(false);

    y += kZeile + 60;
    addLabel("lblNr30.23.1", "30.23.1", {kNummerX, y + 15, 900, 255});
    feld("mskBoden", y, "Bodenwert €/m²");
    addLabel("lblFaktor", "0,0", {kBetragX, y + 15, 700, 255}).setStaticLabel("Faktor");
    y += kZeile + 60;
    addLabel("lblNr30.23.2", "30.23.2", {kNummerX, y + 15, 900, 255});
    addLabel("lblTextKlassifizierung", "Klassifizierung", {kTextX, y + 15, 2000, 255});
    y += 300;
    addComboBox("cmbKlassifizierung", Klassifizierungen(), {kTextX, y, 5940, 315});
    addLabel("lblStrasse", "0,0", {kBetragX, y + 30, 700, 255}).setStaticLabel("Faktor");

    y += kZeile + 120;
    addLabel("lblSumme", "0,0", {kBetragX, y, 1320, 255}).setStaticLabel("Gesamtsumme");
}

std::int16_t frmKat1::anzahl(const char* feld) { return Anzahl(masked(feld).text()); }

void frmKat1::GebührBerechnen() {
    ErrorTrap trap(name(), "GebührBerechnen");
    double zwischen = 0.0;
    for (const Posten& p : kPosten) {
        trap.step(10, [&] {
            const double betrag = anzahl(p.feld) * p.einzelgebühr;
            label(p.betrag).setCaption(Betragstext(betrag));
            zwischen += betrag;
        });
    }
    trap.step(20, [&] { label("lblZwischen").setCaption(Betragstext(zwischen)); });
    double gebühr = 0.0;
    trap.step(30, [&] { gebühr = angewandterFaktor(*this) * zwischen; });
    trap.step(40, [&] {
        if (checkBox("sevCheck1").value() == 1) gebühr *= kSplitter;
    });
    trap.step(50, [&] { label("lblSumme").setCaption(Betragstext(gebühr)); });
}

void frmKat1::EingabenLöschen() {
    ErrorTrap trap(name(), "EingabenLöschen");
    for (const char* liste : {"grdAusFlur", "grdNeuFlur", "txt_2", "txt_50", "Text4"})
        trap.step(10, [&] { textBox(liste).setText(""); });
    for (const char* feld : {"mskAusFlur", "mskGesamt", "mskGesamt2", "mskGesamt75", "mskGesamt599",
                             "mskGP", "mskAGP", "mskBoden"})
        trap.step(20, [&] { masked(feld).setText("    "); });
}

void frmKat1::sevCheck1_Click() {
    label("lblSplitter").setVisible(checkBox("sevCheck1").value() == 1);
    GebührBerechnen();
}

}  // namespace tarvex
