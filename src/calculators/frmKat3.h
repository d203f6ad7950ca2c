#pragma once
// The Lang gestreckte Anlagen calculator (fee item 30.3): starting parcels at 150 €, formed
// parcels entered as a total and split into the first 50 (230 €) and the further ones (210 €),
// points of the new boundary at 40 €, marked points at 25 €; the subtotal weighed by the
// classification factor of the installation, no base amount; the client's share in the table.

#include <cstdint>
#include <string>

#include "calculators/kalkulator_fenster.h"

namespace tarvex {

class frmKat3 final : public KalkulatorFenster {
  public:
    frmKat3();

    // Line fees, subtotal and fee (subtotal × lblFaktor) from the fields into the labels.
    // Failures logged under "frmKat3"/"GebührBerechnen"; a line that fails keeps its label and
    // stays out of the subtotal.
    void GebührBerechnen() override;
    // Leaving mskFlurstücke: the total is split over mskNeuFlur (up to 50) and mskNeuFlur51
    // (the rest), then recomputes. Failures logged under "frmKat3"/"FlurstückeAufteilen".
    void FlurstückeAufteilen();
    // Fills the fields from the fixed rows OK writes (the total of formed parcels rebuilt from
    // its two parts), then recomputes. Failures logged under "frmKat3"/"TabelleEinlesen".
    void TabelleEinlesen(const word::Table& TabelleInWord) override;

  protected:
    void FelderAnlegen() override;
    void AuswahlVorbelegen() override;
    std::int16_t Zeilenzahl() override;
    void ZeilenSchreiben(ErrorTrap& trap, word::Table& tabelle) override;

  private:
};

}  // namespace tarvex
