#include "calculators/flurstuecke.h"

#include <cstdint>

#include "calculators/zahlen.h"

namespace tarvex {

void FlurstückeAufteilen(ui::Form& fenster, const std::string& gesamtFeld) {
    const std::string gesamt = fenster.masked(gesamtFeld).text();
    const std::int16_t n = Anzahl(gesamt);
    auto& erste = fenster.masked("mskNeuFlur");
    auto& weitere = fenster.masked("mskNeuFlur51");
    if (n <= 50) {
        erste.setText(gesamt);
        weitere.setText("    ");
    } else {
        erste.setText("50  ");
        weitere.setText(Feldtext(n - 50));
    }
}

void mskGesamt_LostFocus(KalkulatorFenster& fenster) {
    ErrorTrap trap("Rechnung", "mskGesamt");
    trap.step(10, [&] { FlurstückeAufteilen(fenster, "mskGesamt"); });
    trap.step(20, [&] { fenster.GebührBerechnen(); });
}

}  // namespace tarvex
