#pragma once
// Working values and steps of SummeBilden, shared by its source files. Not for other callers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/word/word.h"
#include "plugin/session/auftragskontext.h"
#include "support/error_trap.h"

namespace tarvex::summen {

// One VAT rate met in the fee tables and the net amount that bears it.
struct Steuersatz {
    float satz = 0.0f;  // percent, compared as single precision
    double betrag = 0.0;
};

struct Summen {
    double Netto = 0.0;   // every counted fee amount
    double MwSt = 0.0;    // VAT, each rate's share rounded to the cent
    double Basis = 0.0;   // the net that bears VAT
    double Faktor = 0.0;  // the share this invoice charges; stays 0 when its division fails
    double Netto2 = 0.0;  // the net this invoice charges
    std::vector<Steuersatz> Sätze;  // in order of first appearance, rates > 0 only
    long Z1 = 2;                    // row of the first VAT line of the totals table
    long ZS = 3;                    // last row of the totals table
};

// Adds up column 5 of every fee table of `doc` (not the totals table, not amounts marked "no");
// a comment holding a number gives its amount that VAT rate. Unreadable cells are passed over
// without a log entry.
void BeträgeSammeln(word::Document& doc, std::int16_t Mehrwertsteuersatz, Summen& s);

// MwSt and Basis from the rate list.
void MehrwertsteuerBerechnen(Summen& s);

// Discount or advance payment of the order context: sets Netto2, Faktor, Z1, ZS and scales
// MwSt and Basis, each statement a step of `trap` (a failed division leaves Faktor at 0).
void RabattOderAbschlag(ErrorTrap& trap, const Auftragskontext& k, Summen& s);

// The text of the discount or advance line of the totals table.
std::string RabattText(const Auftragskontext& k);

// Whether the totals table gets its discount or advance line.
bool MitRabattZeile(const Auftragskontext& k);

// An amount as the totals write it: 11 places, 2 decimals, then " €".
std::string Betrag(double wert);

// An amount without its " €" (the same 11 places, 2 decimals).
std::string BetragOhneEuro(double wert);

// Appends `text` to cell (row, column) of `t`; `fett` set: bold or not bold, unset: weight
// untouched. Raises like the engine (9 outside the table).
void ZelleSchreiben(word::Table& t, long row, long column, const std::string& text,
                    std::optional<bool> fett);

// Inserts the totals table at the first "lumStart" (else at the end of the document) and
// writes rows 1, the VAT lines, the 6-pt row and the "Rechnungsbetrag" row.
std::optional<word::Table> SummenTabelleSchreiben(ErrorTrap& trap, word::Document& doc,
                                                  const Summen& s);

// Writes the second line of row 2 (discount or advance text and Netto2).
void RabattZeileSchreiben(ErrorTrap& trap, word::Table& t, const Auftragskontext& k,
                          const Summen& s);

// Rewrites the amounts after the template's amount marker comments.
void BetragsMarkenSchreiben(ErrorTrap& trap, word::Document& doc, const Summen& s);

// For a final invoice: lists the earlier advance invoices of the order below the totals and
// deducts them (MwSt, Basis and Netto2 become the remaining amounts). Returns the numbers of
// the rows that name an advance invoice.
// The amounts are deducted even when the table could not be written (its cells then fail).
std::vector<long> AbschlagsrechnungenAbziehen(ErrorTrap& trap, std::optional<word::Table>& t,
                                              Summen& s);

// Borders, alignment and column widths of the totals table.
void SummenTabelleFormatieren(ErrorTrap& trap, word::Document& doc, word::Table& t,
                              const std::vector<long>& rechnungsZeilen);

// Stores the amounts in sitzungsdaten().Rechnung when it is set.
void BeträgeSpeichern(ErrorTrap& trap, const Auftragskontext& k, const Summen& s);

}  // namespace tarvex::summen
