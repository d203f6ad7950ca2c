#pragma once
// Real SQLite host databases for tests: one made from the repository's schema.sql, one made
// independently with plain SQL (other declared types, other column order, a table without a
// primary key); statements run and queries read back with SQLite itself.

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "common/test_files.h"

namespace tarvex::testing {

inline void runSql(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open failed");
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("SQL failed: " + text);
}

// The rows of a query, columns joined by '|', rows by '\n', NULL as "NULL".
inline std::string queryText(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    std::string result;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        result = std::string("<") + sqlite3_errmsg(db) + ">";
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        if (!result.empty()) result += "\n";
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const auto* text = sqlite3_column_text(statement, c);
            result +=
                (c ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

// A database made from schema.sql in `folder`, then `rows` run on it.
inline std::filesystem::path schemaDatabase(const std::filesystem::path& folder,
                                            const std::string& rows = "",
                                            const std::string& name = "schema.db") {
    const auto file = folder / name;
    runSql(file, readFile(std::string(TARVEX_SOURCE_DIR) + "/schema.sql") + rows);
    return file;
}

// The same tables as a host might have made them on its own.
inline std::filesystem::path plainDatabase(const std::filesystem::path& folder) {
    auto file = folder / "plain.db";
    runSql(file, R"(
        CREATE TABLE TempDoc (Rabatt NUMERIC, ID_Benutzer INT, MwStErmäßigt SMALLINT,
            Mehrwertsteuer SMALLINT, Preisgruppe4 INT, Preisgruppe3 INT, Preisgruppe2 INT,
            Preisgruppe1 INT, Mehrwertsteuersatz INT, Zahlungsziel BOOLEAN,
            AbschlagProzent SMALLINT, AbschlagAbsolut DOUBLE, ID_Lieferschein INT,
            MeßtruppZusammenfassen BOOLEAN, ID_Auftragsnummer BIGINT);
        CREATE TABLE Rechnung (ID_Rechnungsnummer INTEGER PRIMARY KEY AUTOINCREMENT,
            Rechnungsnummer VARCHAR(20), Rechnungsart INT, ID_Auftragsnummer INT,
            NettoRechnung INT NOT NULL, Brutto INT NOT NULL, MehrwertsteuerFreierbetrag INT,
            Mehrwertsteuersatz INT);
        CREATE TABLE Termine (ID_Rechnungsnummer INT, ID_Terminart INT, Datum DATETIME);
        CREATE TABLE Version (Zahlungsziel VARCHAR(255), AbstandZahlungsziel FLOAT,
            BundZahlungsziel INT);
    )");
    return file;
}

// A complete TempDoc record for user 5 with valid values in every field.
inline constexpr const char* gültigerDatensatz = R"(
    INSERT INTO TempDoc (ID_Benutzer, ID_Auftragsnummer, MeßtruppZusammenfassen, ID_Lieferschein,
        AbschlagAbsolut, AbschlagProzent, Zahlungsziel, Mehrwertsteuersatz, Preisgruppe1,
        Preisgruppe2, Preisgruppe3, Preisgruppe4, Mehrwertsteuer, MwStErmäßigt, Rabatt)
    VALUES (5, 4711, -1, 3, 250.75, 100, 1, 190, 1, 2, 3, 4, 160, 70, 0);)";

}  // namespace tarvex::testing
