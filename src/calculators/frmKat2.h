#pragma once
// The Baulandumlegung calculator (fee item 30.2): source parcels at 150 €, formed parcels at
// 230 € for the first 50 and 210 € beyond, points of the new boundary at 40 €, points to be
// marked at 25 €; the subtotal is weighed by the value factor of the land value and by
// Faktor A of the building use ("W, M, SO" 1,7, "G, sonstige Sondergebiete" 3,0). The 20 %
// reduction (chkErmäßigung) and the client's share act only in the written table.

#include <cstdint>
#include <string>

#include "calculators/kalkulator_fenster.h"

namespace tarvex {

// Caption of chkErmäßigung and text of the reduction row of the table.
inline constexpr const char* kErmäßigungText =
    "Ermäßigung, da die Zuteilung weitgehend nicht selbst durchgeführt wurde";

class frmKat2 final : public KalkulatorFenster {
  public:
    frmKat2();

    // Line amounts, subtotal and fee (value factor × subtotal × Faktor A) from the fields into
    // the labels. Failures logged under "frmKat2"/"GebührBerechnen".
    void GebührBerechnen() override;
    // Fills counts, parcel lists, land value, both factors, reduction and share back from the
    // table OK wrote, then recomputes. Failures logged under "Rechnung"/"TabelleEinlesen".
    void TabelleEinlesen(const word::Table& TabelleInWord) override;

  protected:
    void FelderAnlegen() override;
    std::int16_t Zeilenzahl() override;
    void ZeilenSchreiben(ErrorTrap& trap, word::Table& tabelle) override;

  private:
    bool mitErmäßigung();
};

}  // namespace tarvex
