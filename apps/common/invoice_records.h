#pragma once
// The invoice records of the host database as a clerk chooses among them: number, kind in
// words, order, invoice date and the stored amounts, one line per `Rechnung` record.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvex::dao {
class Database;
}

namespace tarvex::host {

struct InvoiceSummary {
    int id = 0;                     // ID_Rechnungsnummer
    std::string number;             // Rechnungsnummer
    int kind = 0;                   // Rechnungsart
    std::optional<int> order;       // ID_Auftragsnummer
    std::string date;               // invoice date (Termine kind 8) as "dd.mm.yyyy", "" when none
    std::int64_t netCents = 0;      // NettoRechnung
    std::int64_t grossCents = 0;    // Brutto
    std::int64_t vatFreeCents = 0;  // MehrwertsteuerFreierbetrag
};

// Every `Rechnung` record ordered by ID_Rechnungsnummer, with its earliest invoice date.
// Engine errors pass as tarvex::Error.
std::vector<InvoiceSummary> listInvoices(dao::Database& database);

// The invoice kind in words: "Schlussrechnung" (4), "Abschlagsrechnung" (5), "Gutschrift" (7),
// "Rechnung" for any other value.
std::string invoiceKindText(int kind);

// Cents as a euro amount in German notation: -123456 -> "-1.234,56 €".
std::string euroText(std::int64_t cents);

}  // namespace tarvex::host
