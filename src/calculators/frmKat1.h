#pragma once
// The Zerlegung calculator (fee item 30.1): source parcels at 150 €, formed parcels at 230 €
// for the first 50 and 210 € beyond, reductions for small parcels (-345 €, -230 € and -115 €),
// surcharges for large ones (230 €), boundary points (40 €) and marked points (25 €), the
// larger of value and classification factor, the splinter-area reduction (× 0,7) and the
// client's share. Five free-text lists name the parcels of their items. Leaving mskGesamt splits
// the formed parcels at the 50th (flurstuecke.h).

#include <cstdint>
#include <string>

#include "calculators/kalkulator_fenster.h"

namespace tarvex {

// Caption of the label shown beside the ticked splinter-area box (sixteen blanks inside).
inline constexpr const char* kSplitterFaktor = "Faktor                0,7";
// Column 2 of the further-small-parcels row of item 30.21.2.3.
inline constexpr const char* kWeitereKleine = "Ermäßigungen Fläche < 75m², weitere Flurstück ";

class frmKat1 final : public KalkulatorFenster {
  public:
    frmKat1();

    // The nine amounts, subtotal, factor and fee from the fields into the labels. Failures
    // logged under "frmKat1"/"GebührBerechnen".
    void GebührBerechnen() override;
    // Empties the five lists and the count, land-value fields (not the formed-parcel split,
    // mskWeiter75, the choices or the share). Failures logged under "frmKat1"/"EingabenLöschen".
    void EingabenLöschen() override;
    // Shows the 0,7 factor beside a ticked splinter-area box, then recomputes.
    void sevCheck1_Click();
    // Walks the layout written by OK back into counts, lists, box, factor and share, then
    // recomputes. Failures logged under "Rechnung"/"TabelleEinlesen".
    void TabelleEinlesen(const word::Table& TabelleInWord) override;

  protected:
    void FelderAnlegen() override;
    std::int16_t Zeilenzahl() override;
    void ZeilenSchreiben(ErrorTrap& trap, word::Table& tabelle) override;

  private:
    std::int16_t anzahl(const char* feld);
};

}  // namespace tarvex
