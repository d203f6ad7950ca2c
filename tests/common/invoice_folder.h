#pragma once
// What the host tests of both hosts start from: a copy of the basic invoice template next to a
// database made from schema.sql with user 5's order at 19 % (no advance share, no deadline: the
// net amount is the fee itself) and invoice record 1.

#include <filesystem>
#include <string>

#include "common/document_queries.h"
#include "common/host_database.h"
#include "platform/word/word.h"

namespace tarvex::testing {

struct InvoiceFolder {
    InvoiceFolder()
        : invoice(copyTemplate("template-basic.docx", folder.path())),
          database(schemaDatabase(
              folder.path(),
              "INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz) VALUES (5, 190);"
              "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Mehrwertsteuersatz)"
              " VALUES (1, '2026-0815', 190);")) {}

    std::string netAmount() const {
        return queryText(database,
                         "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1");
    }
    // How many tables tagged `tag` the invoice on disk holds.
    std::size_t feeTables(const char* tag = "TARVEX_5") const {
        return taggedTables(*word::Document::Open(invoice.string()), tag).size();
    }

    TempFolder folder;
    std::filesystem::path invoice;
    std::filesystem::path database;
};

}  // namespace tarvex::testing
