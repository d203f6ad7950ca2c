#pragma once
// The Grenzfeststellung calculator (fee item 30.6): five kinds of boundary determination,
// boundary points in three tiers (1-25 at 95 €, 26-50 at 85 €, from 51 on at 75 €), marked
// points at 25 € (not for the kinds without marking), the larger of value and classification
// factor, a base amount of 200 € for the kinds 30.6.1.1 and 30.6.2.1, and the client's share.

#include <cstdint>
#include <string>

#include "calculators/kalkulator_fenster.h"

namespace tarvex {

// Item number of kind `art` (optNr index 0..4): "30.6.1.1" .. "30.6.2.2".
const char* Artnummer(int art);

class frmKat5 final : public KalkulatorFenster {
  public:
    frmKat5();

    // Base amount, line fees, subtotal, factor and fee from the fields into the labels; mskAGP
    // is blanked and disabled for kinds 3 and 4. Failures logged under "frmKat5"/"GebührBerechnen".
    void GebührBerechnen() override;
    // Splits the total of mskAGPSohne into the three tier fields, then recomputes. Failures
    // logged under "frmKat5"/"mskAGPSohne".
    void mskAGPSohne_LostFocus();
    // Walks the layout written by OK back into kind, tiers, marked points, factor and share,
    // then recomputes. Failures logged under "frmKat5"/"TabelleEinlesen".
    void TabelleEinlesen(const word::Table& TabelleInWord) override;

    // The chosen kind, 0..4 (optNr index); 4 when none is selected.
    int Art();

  protected:
    void FelderAnlegen() override;
    std::int16_t Zeilenzahl() override;
    std::string Überschrift() override;
    void ZeilenSchreiben(ErrorTrap& trap, word::Table& tabelle) override;

  private:
};

}  // namespace tarvex
