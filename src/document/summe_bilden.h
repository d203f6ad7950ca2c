#pragma once
// Invoice totals: adds up the fee tables of the open invoice, applies discount or advance
// payment from the order context, writes the totals table and the template's amount markers,
// deducts earlier advance invoices in a final invoice, stores the amounts in the invoice record
// and has the payment deadline placed.

namespace tarvex {

// Rebuilds the totals of sitzungsdaten().Doc from its fee tables and auftragskontext(), stores
// them in sitzungsdaten().Rechnung when set, then calls ZahlungsZiel with `Zahlungsziel`.
// Never raises: failures are logged as "GebührenTabelle"/"SummeBilden" and the next step runs.
// Expects the previous totals table to have been removed (SummeLöschen).
void SummeBilden(bool Zahlungsziel);

}  // namespace tarvex
