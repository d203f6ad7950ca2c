#include "calculators/kalkulator_fenster.h"

#include "calculators/zahlen.h"
#include "document/fee_table.h"
#include "document/summe_bilden.h"
#include "document/summe_loeschen.h"
#include "platform/variant/variant.h"
#include "plugin/session/auftragskontext.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "support/number_text.h"
#include "support/text_markieren.h"

#ifndef TARVEX_REVISION_TEXT
#error "TARVEX_REVISION_TEXT must name the fourth part of the version"
#endif

namespace tarvex {

namespace {

// Multiple-document child (0x40) plus raised edge (0x100).
constexpr std::int32_t kMdiKindStil = 0x140;
constexpr int kKomma = 44;

}  // namespace

std::string Versionstext() { return std::string("V ") + TARVEX_REVISION_TEXT; }

std::string Zeilen(const std::string& zelle) {
    std::string text;
    for (char c : zelle) {
        if (c == '\r' || c == '\v')
            text += ui::kZeilenende;
        else
            text += c;
    }
    return text;
}

KalkulatorFenster::KalkulatorFenster(Fensterangaben angaben)
    : ui::Form(angaben.name,
               [this](ui::Form&) {
                   gemeinsameSteuerelemente();
                   FelderAnlegen();
               }),
      angaben_(std::move(angaben)) {
    on(ui::kFormEvents, ui::Event::Load, [this](ui::EventArgs&) { Form_Load(); });
    // Unloading drops the reference into the document along with the inputs.
    on(ui::kFormEvents, ui::Event::Unload, [this](ui::EventArgs&) { tabelle_.reset(); });
    on("CommandEnde", ui::Event::Click, [this](ui::EventArgs&) { CommandEnde_Click(); });
    on("CommandAbbruch", ui::Event::Click, [this](ui::EventArgs&) { CommandAbbruch_Click(); });
    markierenBeimFokus("mskBezug");
    on("mskBezug", ui::Event::KeyPress, [this](ui::EventArgs& a) { mskBezug_KeyPress(a); });
}

void KalkulatorFenster::gemeinsameSteuerelemente() {
    const int b = angaben_.breite;
    const int h = angaben_.höhe;
    setCaption(angaben_.titel);
    setSize(b, h);
    addTabStrip("sevTabStrip1", {angaben_.titel}, {60, 60, b - 120, h - 780});
    auto& bezug = addMaskedField("mskBezug", "####,##", {b - 3300, h - 1260, 900, 285});
    bezug.setMaxLength(7);
    bezug.setStaticLabel("Kostenanteil");
    addLabel("lblPromille", "/ 1000", {b - 2340, h - 1230, 700, 255});
    addCheckBox("chkBereich", angaben_.bereichText, {240, h - 1260, 2600, 285});
    addLabel("lblVersion", "", {240, h - 600, 900, 255});
    addCommandButton("CommandEnde", "&OK", {b - 2760, h - 660, 1260, 420});
    addCommandButton("CommandAbbruch", "&Abbruch", {b - 1440, h - 660, 1260, 420});
}

bool KalkulatorFenster::anteilIst1000() {
    return führendeZahl(masked("mskBezug").text()) == 1000.0;
}

void KalkulatorFenster::GebührUndAnteilSchreiben(ErrorTrap& trap, word::Table& t,
                                                 std::int16_t zeile, const char* text,
                                                 int schrittAnteil, int schrittZeile) {
    const auto zelle = [&](short spalte, const auto& inhalt, const char* kommentar = "") {
        trap.step(200,
                  [&] { wordTabelle(t, zeile, spalte, std::string(inhalt()), false, kommentar); });
    };
    bool ganz = true;
    trap.step(schrittAnteil, [&] { ganz = anteilIst1000(); });
    zelle(2, [&] { return text; });
    zelle(
        5, [&] { return label("lblSumme").caption() + " €"; }, ganz ? "" : "no");
    if (ganz) return;
    trap.step(schrittZeile, [&] { zeile = Zeile(zeile, 2); });
    zelle(2, [] { return "Anteil in 1/1000"; });
    zelle(3, [&] { return germanNumberText(CVal(masked("mskBezug").text())); });
    zelle(5, [&] { return Anteilsbetrag(label("lblSumme").caption(), masked("mskBezug").text()); });
}

void KalkulatorFenster::markierenBeimFokus(const std::string& feld) {
    on(feld, ui::Event::GotFocus, [this, feld](ui::EventArgs&) {
        if (ui::Control* c = find(feld)) TextMarkieren(*c);
    });
}

void KalkulatorFenster::berechnenBeimVerlassen(const std::string& feld) {
    markierenBeimFokus(feld);
    on(feld, ui::Event::LostFocus, [this](ui::EventArgs&) { GebührBerechnen(); });
}

void KalkulatorFenster::Form_Load() {
    ErrorTrap trap(name(), "Form_Load");
    trap.step(20, [&] { setIcon("9"); });
    trap.step(30, [&] { label("lblVersion").setCaption(Versionstext()); });
    trap.step(40, [&] {
        button("CommandEnde").setPicture("OK");
        button("CommandAbbruch").setPicture("Abbruch");
    });
    trap.step(50, [&] { AuswahlVorbelegen(); });
    trap.step(60, [&] { masked("mskBezug").setText("1000,00"); });
    tabelle_.reset();
    trap.step(70, [&] { tabelle_ = TabelleErmitteln(angaben_.tabellenTag, 0); });
    trap.step(80, [&] { setMousePointer(ui::MousePointer::Hourglass); });
    trap.step(90, [&] { EingabenLöschen(); });
    trap.step(100, [&] {
        if (tabelle_)
            TabelleEinlesen(*tabelle_);
        else
            GebührBerechnen();
    });
    trap.step(110, [&] { setMousePointer(ui::MousePointer::Default); });
    trap.step(120, [&] {
        auto& manager = plattform().windowManager;
        if (!manager) throw Error(errc::objectNotSet);
        manager->setParent(windowHandle(), sitzungsdaten().hWndMDI);
        manager->setExtendedStyle(windowHandle(), kMdiKindStil);
    });
}

void KalkulatorFenster::mskBezug_KeyPress(ui::EventArgs& args) {
    if (args.keyAscii != kKomma) return;
    // The digits typed so far move to the right of the four integer places and the decimals
    // are filled; the "." of thousands would not fit the mask. The two decimals are selected
    // so the next two digits replace them; the comma itself then goes to the field unchanged.
    auto& feld = masked("mskBezug");
    feld.setText(ohneTausenderpunkte(WertFormatieren(feld.text(), 7, 2)));
    feld.setSelStart(5);
    feld.setSelLength(2);
}

void KalkulatorFenster::CommandAbbruch_Click() { unload(); }

void KalkulatorFenster::CommandEnde_Click() {
    ErrorTrap trap(name(), "CommandEnde_Click");
    trap.step(10, [&] { setMousePointer(ui::MousePointer::Hourglass); });
    trap.step(20, [&] { SummeLöschen(); });
    std::optional<word::Range> ort;
    trap.step(30, [&] { ort = WordTabelleFestlegen(name(), tabelle_); });
    std::optional<word::Table> neu;
    trap.step(40, [&] {
        if (!ort) throw Error(errc::objectNotSet);
        neu = offenesDokument().Tables().Add(*ort, Zeilenzahl(), 5);
    });
    trap.step(50, [&] {
        if (!neu) throw Error(errc::objectNotSet);
        TabelleFormatieren(name(), *neu);
    });
    std::string überschrift;
    trap.step(60, [&] { überschrift = Überschrift(); });
    if (neu) {
        TabellenkopfSchreiben(name(), *neu, überschrift);
        ZeilenSchreiben(trap, *neu);
    }
    trap.step(80, [&] {
        if (!neu) throw Error(errc::objectNotSet);
        BookmarkSetzen(*neu, angaben_.tabellenTag);
    });
    trap.step(90, [&] { SummeBilden(auftragskontext().Zahlungsziel); });
    trap.step(100, [&] { setMousePointer(ui::MousePointer::Default); });
    unload();
}

}  // namespace tarvex
