#include "document/tabellenwahl.h"

#include <memory>

#include "plugin/session/plattform.h"
#include "support/error_trap.h"
#include "support/window_placement.h"

namespace tarvex {

namespace {

constexpr const char* kModul = "G_frmTabelle";
constexpr const char* kFensterIcon = "9";  // the plug-in's window icon (resource 9)

// Layout in twips: one frame with the seven options stacked, the button below it.
void entwerfen(ui::Form& f) {
    f.setCaption("Tabellenwahl");
    f.setSize(5400, 3900);
    f.addFrame("sevFrame1", "zu bearbeitende Tabelle auswählen", {120, 120, 5040, 2900});
    constexpr int links = 300;
    constexpr int breite = 4700;
    constexpr int höhe = 300;
    int oben = 420;
    f.addOptionButton("optNeu", "neuer Abrechnungspunkt", {links, oben, breite, höhe});
    for (int i = 0; i < 5; ++i) {
        oben += 340;
        f.addOptionButton("optTabelle(" + std::to_string(i) + ")",
                          std::to_string(i + 1) + ". vorhandener Eintrag",
                          {links, oben, breite, höhe});
    }
    oben += 340;
    f.addOptionButton("optAktTabelle",
                      "aktuelle Cursorposition als Abrechnungspunkt interpretieren",
                      {links, oben, breite, höhe * 2});
    f.addCommandButton("cmdEnde", "&OK", {3840, 3120, 1320, 420});
}

// The dialog's event procedures; they outlive every load.
void verdrahten(ui::Form& f) {
    f.on(ui::kFormEvents, ui::Event::Load, [&f](ui::EventArgs&) {
        ErrorTrap trap(kModul, "Form_Load");
        trap.step(10, [&] { GetWindowReg(f, *plattform().settings); });
        trap.step(20, [&] { f.setIcon(kFensterIcon); });
        trap.step(30, [&] { f.button("cmdEnde").setPicture("OK"); });
        trap.step(40, [&] { f.option("optNeu").setValue(true); });
    });
    // Hiding, not unloading, keeps the choice for the next use in this plug-in lifetime.
    f.on("cmdEnde", ui::Event::Click, [&f](ui::EventArgs&) {
        ErrorTrap trap(kModul, "cmdEnde_Click");
        trap.step(10, [&] { f.hide(); });
    });
    f.on(ui::kFormEvents, ui::Event::Unload, [&f](ui::EventArgs&) {
        ErrorTrap trap(kModul, "Form_Unload");
        trap.step(10, [&] { SetWindowReg(f, *plattform().settings); });
    });
}

std::unique_ptr<ui::Form>& instanz() {
    static std::unique_ptr<ui::Form> form;
    return form;
}

}  // namespace

ui::Form& G_frmTabelle() {
    auto& form = instanz();
    if (!form) {
        form = std::make_unique<ui::Form>(kModul, entwerfen);
        verdrahten(*form);
    }
    return *form;
}

Tabellenwahl TabellenwahlLesen() {
    ui::Form& f = G_frmTabelle();
    if (f.option("optAktTabelle").value()) return {Tabellenwahl::Art::Cursortabelle, 0};
    if (f.option("optNeu").value()) return {Tabellenwahl::Art::Neu, 0};
    for (short i = 0; i < 4; ++i)
        if (f.option("optTabelle", i).value()) return {Tabellenwahl::Art::Eintrag, short(i + 1)};
    return {Tabellenwahl::Art::Eintrag, 5};
}

void resetTabellenwahl() { instanz().reset(); }

}  // namespace tarvex
