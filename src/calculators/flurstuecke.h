#pragma once
// The formed parcels of frmKat1, frmKat2 and frmKat3: a total (mskGesamt, in frmKat3
// mskFlurstücke) is split over the first 50 (mskNeuFlur, 230 €) and the further ones
// (mskNeuFlur51, 210 €).

#include <string>

#include "calculators/kalkulator_fenster.h"

namespace tarvex {

// Splits the total in field `gesamtFeld` over mskNeuFlur and mskNeuFlur51: up to 50 the total's
// text goes unchanged into mskNeuFlur and mskNeuFlur51 is emptied; above 50, mskNeuFlur gets
// "50  " and mskNeuFlur51 the rest, left-aligned. Raises 6 when the total exceeds 16 bits (the
// fields are then left as they were).
void FlurstückeAufteilen(ui::Form& fenster, const std::string& gesamtFeld);

// Leaving mskGesamt: the split above, then the window's GebührBerechnen. Failures are logged
// under "Rechnung"/"mskGesamt" and the next step runs.
void mskGesamt_LostFocus(KalkulatorFenster& fenster);

}  // namespace tarvex
