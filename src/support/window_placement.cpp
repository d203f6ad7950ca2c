#include "support/window_placement.h"

#include <string>

#include "platform/variant/variant.h"
#include "support/error_trap.h"

namespace tarvex {

namespace {

constexpr const char* kApplication = "Lumora";

// The stored text, or the default "0" when there is none.
std::string storedOrZero(const SettingsStore& store, const std::string& section, const char* key) {
    return store.get(kApplication, section, key).value_or("0");
}

}  // namespace

void GetWindowReg(ui::Form& Fenster, SettingsStore& store) {
    ErrorTrap trap("G_Funktionen", "GetWindowReg");
    const std::string section = Fenster.name();
    // Each value is converted as the platform converts text: a non-number raises 13, a state
    // outside 0..2 raises 380; the failing step is logged and the form keeps its design value.
    trap.step(10, [&] {
        Fenster.setWindowState(Variant(storedOrZero(store, section, "State")).toInteger());
    });
    if (Fenster.windowState() != ui::WindowState::Normal) return;
    trap.step(30, [&] { Fenster.setTop(Variant(storedOrZero(store, section, "Top")).toSingle()); });
    trap.step(40,
              [&] { Fenster.setLeft(Variant(storedOrZero(store, section, "Left")).toSingle()); });
}

void SetWindowReg(ui::Form& Fenster, SettingsStore& store) {
    ErrorTrap trap("G_Funktionen", "SetWindowReg");
    const std::string section = Fenster.name();
    trap.step(10, [&] {
        store.set(kApplication, section, "State",
                  std::to_string(static_cast<int>(Fenster.windowState())));
    });
    // A minimised or maximised window's edges are not where the user left it: keep the last
    // normal position.
    if (Fenster.windowState() != ui::WindowState::Normal) return;
    trap.step(30,
              [&] { store.set(kApplication, section, "Top", Variant(Fenster.top()).toString()); });
    trap.step(
        40, [&] { store.set(kApplication, section, "Left", Variant(Fenster.left()).toString()); });
}

}  // namespace tarvex
