#include "support/error_trap.h"

namespace tarvex {

void ErrorTrap::report(int zeile, int nummer, std::string beschreibung) noexcept {
    ++failures_;
    try {
        Fehlerstand& current = aktuellerFehler();
        current.nummer = nummer;
        current.beschreibung = std::move(beschreibung);
        current.zeile = zeile;
    } catch (...) {
    }
    DebugLog(modul_, prozedur_);
}

}  // namespace tarvex
