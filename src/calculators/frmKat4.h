#pragma once
// The Gebäudeaufnahme calculator (fee item 30.4): a base fee by the bracket of the building
// costs that covers up to five buildings, 30 % of it for every further group of one to five
// buildings, and the client's share. The fee table shows the costs as an amount or, with
// "Bereich Baukosten" ticked, as the text of their bracket.

#include <cstdint>
#include <string>

#include "calculators/kalkulator_fenster.h"

namespace tarvex {

// The cost bracket of `kosten` euro: base fee and the text written for it.
struct Kostenbereich {
    double grundgebühr;
    std::string text;  // "bis 25 T€", "zwischen 25 T€ und 100 T€", ...
};
// Brackets tested in order up to 5.000.000 €; above, steps of 5 M€ each adding 1.200 €, the
// step taken from the costs rounded to a 32-bit whole number (halves to even). Raises 6 when
// the costs do not fit into 32 bits.
Kostenbereich Baukostenbereich(double kosten);
// The lowest cost that a bracket text written by OK stands for: 20000 for "bis 25 T€", else
// the bracket's lower bound plus 1 euro. Raises 13 for a text that names no bracket.
std::int64_t Bereichsanfang(const std::string& text);

class frmKat4 final : public KalkulatorFenster {
  public:
    frmKat4();

    // Base fee, further groups (rebuilt from mskAnzahl) and fee into the fields and labels.
    // Failures logged under "frmKat4"/"GebührBerechnen".
    void GebührBerechnen() override;
    // Description, count, costs (amount or bracket) and share back from the fee table, then
    // recomputes. Failures logged under "frmKat4"/"TabelleEinlesen".
    void TabelleEinlesen(const word::Table& TabelleInWord) override;

  protected:
    void FelderAnlegen() override;
    std::int16_t Zeilenzahl() override;
    void ZeilenSchreiben(ErrorTrap& trap, word::Table& tabelle) override;

  private:
};

}  // namespace tarvex
