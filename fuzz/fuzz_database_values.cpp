// Database values from a hostile host: the input's bytes become one SQLite value (the first
// byte picks NULL, INTEGER, REAL, TEXT or BLOB; bytes 2 and 3 pick the columns it goes into)
// in a TempDoc row, a Rechnung row and the date column of a Termine row of a database made
// once from schema.sql. The plug-in then reads the order context, reads every field through
// ZahlDatensatzLesen and BoolDatensatzLesen, and assigns values to every field under Edit.
// Nothing may crash, and nothing but tarvex::Error may leave the platform calls.
#include <sqlite3.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/dao/dao.h"
#include "plugin/session/auftragskontext.h"
#include "plugin/session/datensatz_lesen.h"
#include "support/debug_log.h"
#include "support/error_trap.h"

using namespace tarvex;

namespace {

[[noreturn]] void abbrechen(const std::string& was) {
    std::fprintf(stderr, "fuzz_database_values: %s\n", was.c_str());
    std::abort();
}

const char* const kTempDocSpalten[] = {
    "ID_Benutzer",     "ID_Auftragsnummer",  "MeßtruppZusammenfassen",
    "ID_Lieferschein", "AbschlagAbsolut",    "AbschlagProzent",
    "Zahlungsziel",    "Mehrwertsteuersatz", "Preisgruppe1",
    "Preisgruppe2",    "Preisgruppe3",       "Preisgruppe4",
    "Mehrwertsteuer",  "MwStErmäßigt",       "Rabatt"};
const char* const kRechnungSpalten[] = {
    "Rechnungsnummer", "Rechnungsart",       "ID_Auftragsnummer",         "NettoRechnung",
    "Brutto",          "Mehrwertsteuersatz", "MehrwertsteuerFreierbetrag"};

// The harness's own connection: it rewrites the two rows before every run, outside the
// record-set layer, as a host would.
class Wirt {
  public:
    Wirt() {
        // Memory-backed storage keeps the commits of every run cheap where the system has it.
        const std::filesystem::path basis = std::filesystem::is_directory("/dev/shm")
                                                ? std::filesystem::path("/dev/shm")
                                                : std::filesystem::temp_directory_path();
        ordner_ = basis / ("tarvex-fuzz-db-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(ordner_);
        datei_ = ordner_ / "host.db";
        if (sqlite3_open(datei_.c_str(), &db_) != SQLITE_OK) abbrechen("open");
        std::ifstream in(TARVEX_SCHEMA_SQL);
        std::stringstream schema;
        schema << in.rdbuf();
        ausführen(schema.str());
        ausführen("PRAGMA synchronous = OFF");
        for (const char* spalte : kTempDocSpalten)
            tempDoc_.push_back(vorbereiten("UPDATE TempDoc SET \"" + std::string(spalte) +
                                           "\" = ? WHERE ID_TempDoc = 1"));
        for (const char* spalte : kRechnungSpalten)
            rechnung_.push_back(vorbereiten("UPDATE Rechnung SET \"" + std::string(spalte) +
                                            "\" = ? WHERE ID_Rechnungsnummer = 3"));
        // The only column read as a date; its CHECK lets numbers and normalisable text pass.
        termine_.push_back(vorbereiten("UPDATE Termine SET Datum = ? WHERE ID_Termin = 1"));
    }
    ~Wirt() {
        for (auto* s : tempDoc_) sqlite3_finalize(s);
        for (auto* s : rechnung_) sqlite3_finalize(s);
        for (auto* s : termine_) sqlite3_finalize(s);
        sqlite3_close(db_);
        std::error_code ignoriert;
        std::filesystem::remove_all(ordner_, ignoriert);
    }
    const std::filesystem::path& datei() const { return datei_; }

    // A valid pair of rows, then the value in every column whose bit is set in `maske`.
    // Values a column refuses (NOT NULL, NaN as NULL) simply leave the valid one.
    void schreiben(const std::function<void(sqlite3_stmt*)>& binden, std::uint16_t maske) {
        ausführen(
            "BEGIN; DELETE FROM TempDoc; DELETE FROM Rechnung; DELETE FROM Termine;"
            "INSERT INTO TempDoc VALUES (1, 5, 4711, -1, 3, 250.75, 100, 1, 190, 1, 2, 3, 4,"
            " 160, 70, 0);"
            "INSERT INTO Rechnung VALUES (3, '2011-003', 0, 4711, 10000, 11900, 0, 190);"
            "INSERT INTO Termine VALUES (1, 3, 8, '2011-03-01');");
        auto setzen = [&](const std::vector<sqlite3_stmt*>& anweisungen) {
            for (std::size_t i = 0; i < anweisungen.size(); ++i) {
                if (!(maske & (1u << i))) continue;
                binden(anweisungen[i]);
                sqlite3_step(anweisungen[i]);
                sqlite3_reset(anweisungen[i]);
                sqlite3_clear_bindings(anweisungen[i]);
            }
        };
        setzen(tempDoc_);
        setzen(rechnung_);
        setzen(termine_);
        ausführen("COMMIT");
    }

  private:
    void ausführen(const std::string& sql) {
        char* meldung = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &meldung) != SQLITE_OK)
            abbrechen(std::string("SQL: ") + (meldung ? meldung : "?"));
    }
    sqlite3_stmt* vorbereiten(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
            abbrechen("prepare " + sql);
        return s;
    }

    std::filesystem::path ordner_, datei_;
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> tempDoc_, rechnung_, termine_;
};

struct Umgebung {
    std::shared_ptr<MemoryLogSink> log = std::make_shared<MemoryLogSink>();
    Wirt wirt;
    std::shared_ptr<dao::Database> datenbank;
    Umgebung() {
        setLogSink(log);
        datenbank = dao::makeSqliteWorkspace()->openDatabase(wirt.datei().string());
    }
};

Umgebung& umgebung() {
    static Umgebung u;
    return u;
}

template <class F>
void erlaubt(F&& aufruf) {
    try {
        aufruf();
    } catch (const Error&) {
    }
}

// The coercions the plug-in applies to what it read.
void umwandeln(const Variant& v) {
    erlaubt([&] { (void)v.toInteger(); });
    erlaubt([&] { (void)v.toLong(); });
    erlaubt([&] { (void)v.toDouble(); });
    erlaubt([&] { (void)v.toBool(); });
    erlaubt([&] { (void)v.toString(); });
    erlaubt([&] { (void)germanDateText(v.toDate()); });
}

// Reads every field both ways, then assigns one of the candidates to each under Edit, and
// either saves or drops the change.
void datensatzPrüfen(const std::shared_ptr<dao::Recordset>& rs, const std::vector<Variant>& werte,
                     std::uint16_t maske, bool speichern) {
    const auto felder = rs->fields();
    for (int i = 0; i < felder->count(); ++i) {
        const Variant feld(felder->item(i));
        umwandeln(ZahlDatensatzLesen(feld));
        umwandeln(BoolDatensatzLesen(feld));
        erlaubt([&] { (void)felder->item(i)->declaredType(); });
    }
    erlaubt([&] { rs->edit(); });
    for (int i = 1; i < felder->count(); ++i) {  // column 0 is the key the harness relies on
        const Variant& wert = werte[((maske >> (i % 8)) ^ static_cast<unsigned>(i)) % werte.size()];
        erlaubt([&] { felder->item(i)->setValue(wert); });
        erlaubt([&] { umwandeln(felder->item(i)->value()); });
    }
    if (speichern)
        erlaubt([&] { rs->update(); });
    else
        erlaubt([&] { rs->cancelUpdate(); });
    erlaubt([&] { (void)rs->editing(); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    Umgebung& u = umgebung();
    const int art = data[0] % 5;
    const std::uint16_t maske =
        size >= 3 ? static_cast<std::uint16_t>(data[1] | (data[2] << 8)) : 0xFFFF;
    const std::size_t kopf = size >= 3 ? 3 : 1;
    const std::string nutzlast(reinterpret_cast<const char*>(data) + kopf, size - kopf);

    std::int64_t ganz = 0;
    double reell = 0.0;
    std::memcpy(&ganz, nutzlast.data(), std::min(nutzlast.size(), sizeof ganz));
    std::memcpy(&reell, nutzlast.data(), std::min(nutzlast.size(), sizeof reell));

    u.wirt.schreiben(
        [&](sqlite3_stmt* s) {
            switch (art) {
                case 0:
                    sqlite3_bind_null(s, 1);
                    break;
                case 1:
                    sqlite3_bind_int64(s, 1, ganz);
                    break;
                case 2:
                    sqlite3_bind_double(s, 1, reell);
                    break;
                case 3:
                    sqlite3_bind_text(s, 1, nutzlast.data(), static_cast<int>(nutzlast.size()),
                                      SQLITE_TRANSIENT);
                    break;
                default:
                    sqlite3_bind_blob(s, 1, nutzlast.data(), static_cast<int>(nutzlast.size()),
                                      SQLITE_TRANSIENT);
                    break;
            }
        },
        maske);

    // What the plug-in may be asked to store: the same bytes as every kind of value.
    const std::vector<Variant> werte = {
        Variant(nutzlast),
        Variant(reell),
        Variant(static_cast<std::int32_t>(ganz)),
        Variant(static_cast<std::int16_t>(ganz)),
        Variant::null(),
        Variant(),
        Variant((ganz & 1) != 0),
        Variant(Date{reell}),
        Variant(static_cast<float>(reell)),
    };

    try {
        auto tempDoc = u.datenbank->openRecordset("SELECT * FROM TempDoc WHERE ID_Benutzer = 5",
                                                  dao::RecordsetType::Dynaset);
        ErrorTrap trap("Fuzz", "AuftragskontextLesen");
        AuftragskontextLesen(trap, tempDoc);
        datensatzPrüfen(tempDoc, werte, maske, (maske & 0x8000) != 0);

        auto rechnung = u.datenbank->openRecordset(
            "SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 3", dao::RecordsetType::Dynaset);
        datensatzPrüfen(rechnung, werte, maske, (maske & 0x4000) != 0);

        auto termine = u.datenbank->openRecordset("SELECT * FROM Termine WHERE ID_Termin = 1",
                                                  dao::RecordsetType::Dynaset);
        datensatzPrüfen(termine, werte, maske, (maske & 0x2000) != 0);
    } catch (const Error& e) {
        // Opening the record sets on a valid database must not fail.
        abbrechen("openRecordset: " + e.description());
    }
    u.log->clear();
    return 0;
}
