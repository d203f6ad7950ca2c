#pragma once
// The factors that weigh a calculator's subtotal, each kept as German decimal text in a label
// caption: the value factor from the land value (mskBoden -> lblFaktor), the classification
// factor from the classification list (cmbKlassifizierung -> lblStrasse, in frmKat3
// lblFaktor), and Faktor A of frmKat2 (sevOption1/sevOption2 -> lblDichtefaktor). frmKat1 and
// frmKat5 apply the larger of value and classification factor and write only that one.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "calculators/kalkulator_fenster.h"
#include "platform/word/word.h"

namespace tarvex {

// The three classification entries in list order.
const std::vector<std::string>& Klassifizierungen();

// Value factor caption for land value `v` €/m²: "1,0" up to 10, "1,5" to 100, "2,25" to 300,
// "3,0" to 1000, "3,75" above.
std::string Wertfaktor(std::int16_t v);
// Classification factor caption for list position `position`: 0 "1,5", 1 "1,2", else "1,0".
std::string Klassifizierungsfaktor(int position);
// Faktor A caption: "1,7" for "W, M, SO" (sevOption1), "3,0" for the other option.
std::string FaktorA(bool sonstigeSondergebiete);

// Leaving mskBoden: sets lblFaktor from the field, then the window's GebührBerechnen. Failures
// are logged under "Rechnung"/"mskBoden"; a field that cannot be read gives "1,0".
void mskBoden_LostFocus(KalkulatorFenster& fenster);
// Leaving cmbKlassifizierung: sets the caption of `faktorLabel` from the chosen entry, then the
// window's GebührBerechnen. No trap: errors pass to the caller.
void cmbKlassifizierung_LostFocus(KalkulatorFenster& fenster, const std::string& faktorLabel);
// frmKat2's option pair: sets lblDichtefaktor, then the window's GebührBerechnen.
void sevOption_Click(KalkulatorFenster& fenster, bool sonstigeSondergebiete);

// Registers the handlers above on a window that has the controls (the option pair only where
// it exists).
void BodenwertAnmelden(KalkulatorFenster& fenster);
void KlassifizierungAnmelden(KalkulatorFenster& fenster, const std::string& faktorLabel);
void FaktorAAnmelden(KalkulatorFenster& fenster);

// Whether the classification factor is applied: only when it is larger than the value
// factor; on a tie the value factor wins.
bool KlassifizierungGilt(double wertfaktor, double klassifizierungsfaktor);
// The factor frmKat1 and frmKat5 apply, read from lblFaktor and lblStrasse.
double angewandterFaktor(ui::Form& fenster);

// Writes the three rows of the applied factor in columns 1 to 3 from row `zeile` on: the
// 30.23.1 block with mskBoden and lblFaktor, or the 30.23.2 block with cmbKlassifizierung and
// lblStrasse. Each cell is a step of `trap`; row overflow raises 6 into it.
void FaktorZeilenSchreiben(ErrorTrap& trap, word::Table& tabelle, std::int16_t zeile,
                           ui::Form& fenster);

}  // namespace tarvex
