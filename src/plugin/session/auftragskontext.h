#pragma once
// The order context: the user's pending-document record from TempDoc, read on every Show and
// read later by the totals and the calculators' OK procedures.

#include <cstdint>
#include <memory>

#include "platform/dao/dao.h"
#include "support/error_trap.h"

namespace tarvex {

struct Auftragskontext {
    std::int32_t Auftragsnummer = 0;
    bool MesstruppZusammenfassen = false;
    std::int32_t Lieferschein = 0;
    double AbschlagAbsolut = 0.0;
    std::int16_t AbschlagProzent = 0;
    bool Zahlungsziel = false;
    std::int16_t Mehrwertsteuersatz = 0;  // percent
    std::int16_t Preisgruppe1 = 0;
    std::int16_t Preisgruppe2 = 0;
    std::int16_t Preisgruppe3 = 0;
    std::int16_t Preisgruppe4 = 0;
    std::int16_t Mehrwertsteuer = 0;  // percent
    std::int16_t MwStErmaessigt = 0;  // percent
    std::int16_t Rabatt = 0;          // percent

    void reset() { *this = Auftragskontext{}; }
};

// The one instance.
Auftragskontext& auftragskontext();

// Reads the fourteen fields from the current record of `tempDoc` into auftragskontext(), each
// as its own step of `trap`: a field that fails (no record set, no current record, Null in a
// column read directly, text that is no number, overflow) is logged once and keeps its value.
void AuftragskontextLesen(ErrorTrap& trap, const std::shared_ptr<dao::Recordset>& tempDoc);

}  // namespace tarvex
