#include "demo_database.h"

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

#include "data_files.h"

namespace tarvex::cli {

const char* demoRowsSql() {
    return R"sql(
INSERT INTO "TempDoc" ("ID_TempDoc", "ID_Benutzer", "ID_Auftragsnummer", "MeßtruppZusammenfassen",
  "ID_Lieferschein", "AbschlagAbsolut", "AbschlagProzent", "Zahlungsziel", "Mehrwertsteuersatz",
  "Preisgruppe1", "Preisgruppe2", "Preisgruppe3", "Preisgruppe4", "Mehrwertsteuer", "MwStErmäßigt", "Rabatt")
VALUES (1, 1, 42, 0, 0, 0, 100, 1, 190, 0, 0, 0, 0, 190, 70, 0);
INSERT INTO "Rechnung" ("ID_Rechnungsnummer", "Rechnungsnummer", "Rechnungsart", "ID_Auftragsnummer",
  "NettoRechnung", "Brutto", "MehrwertsteuerFreierbetrag", "Mehrwertsteuersatz")
VALUES (1, '2026-0001', 1, 42, 0, 0, 0, 190);
INSERT INTO "Termine" ("ID_Termin", "ID_Rechnungsnummer", "ID_Terminart", "Datum")
VALUES (1, 1, 8, '2026-03-01');
INSERT INTO "Version" ("ID_Version", "Zahlungsziel", "AbstandZahlungsziel", "BundZahlungsziel")
VALUES (1, 'Bitte überweisen Sie den Rechnungsbetrag ohne Abzug bis zum<14>', 25.6, 1);
)sql";
}

void createDemoDatabase(const std::string& path) {
    if (std::filesystem::exists(path))
        throw std::runtime_error("Datei existiert bereits: " + path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "kein Speicher";
        sqlite3_close(db);
        std::filesystem::remove(path);
        throw std::runtime_error("Datenbank kann nicht angelegt werden: " + message);
    }
    const std::string script = "BEGIN;" + hostSchemaSql() + demoRowsSql() + "COMMIT;";
    char* error = nullptr;
    const int rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        std::filesystem::remove(path);
        throw std::runtime_error("Datenbank kann nicht angelegt werden: " + message);
    }
}

}  // namespace tarvex::cli
