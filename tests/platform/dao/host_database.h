#pragma once
// Real SQLite host databases for tests: one made from the repository's schema.sql, one made
// independently with plain SQL (other declared types, other column order, a table without a
// primary key), each in its own temporary folder.

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

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

// A folder under the system's temporary directory, removed with the object.
class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("tarvex-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::filesystem::path schemaDatabase(const std::filesystem::path& folder) {
    std::ifstream in(std::string(TARVEX_SOURCE_DIR) + "/schema.sql");
    std::stringstream sql;
    sql << in.rdbuf();
    auto file = folder / "schema.db";
    runSql(file, sql.str());
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
