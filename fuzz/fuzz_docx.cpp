// Feeds raw bytes to the .docx reader, walks what it accepted, then runs the whole OK path of a
// calculator window on it: the fee table written before the "lumStart" marker, the totals
// rebuilt with the deadline box, the package saved to memory and read back. Foreign input may
// be refused with tarvex::Error; nothing may crash. Use with fuzz/docx.dict.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <sqlite3.h>

#include "document/fee_table.h"
#include "document/summe_bilden.h"
#include "platform/dao/dao.h"
#include "platform/word/word.h"
#include "plugin/session/auftragskontext.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "support/debug_log.h"

using namespace tarvex;
using namespace tarvex::word;

namespace {

// A host database with invoice 3 of order 4711, made once per process.
class Host {
  public:
    Host() {
        const auto base = std::filesystem::is_directory("/dev/shm")
                              ? std::filesystem::path("/dev/shm")
                              : std::filesystem::temp_directory_path();
        folder_ = base / ("tarvex-fuzz-docx-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
        const auto file = folder_ / "host.db";
        std::ifstream in(TARVEX_SCHEMA_SQL);
        std::stringstream sql;
        sql << in.rdbuf()
            << "INSERT INTO Version VALUES (1, 'Zahlbar bis <14>.', 25.5, 1);"
               "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, ID_Auftragsnummer)"
               " VALUES (3, '2011-003', 4711);";
        sqlite3* db = nullptr;
        if (sqlite3_open(file.c_str(), &db) != SQLITE_OK ||
            sqlite3_exec(db, sql.str().c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
        sqlite3_close(db);
        setLogSink(std::make_shared<MemoryLogSink>());
        database = dao::makeSqliteWorkspace()->openDatabase(file.string());
    }
    ~Host() {
        database.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::shared_ptr<dao::Database> database;

  private:
    std::filesystem::path folder_;
};

void walk(Document& doc) {
    Comments comments = doc.Comments();
    for (long i = 1; i <= comments.Count() && i <= 50; ++i) {
        Range after = comments.Item(i).Reference();
        after.Collapse(CollapseDirection::End);
        after.MoveEnd(15);
        (void)after.Text();
    }
    Tables tables = doc.Tables();
    for (long t = 1; t <= tables.Count() && t <= 20; ++t) {
        Table table = tables.Item(t);
        for (long r = 1; r <= table.Rows().Count() && r <= 20; ++r)
            for (long c = 1; c <= table.Rows().Item(r).CellCount() && c <= 20; ++c)
                (void)table.Cell(r, c).Range().Comments().Count();
    }
    Shapes shapes = doc.Shapes();
    for (long s = 1; s <= shapes.Count() && s <= 20; ++s) (void)shapes.Item(s).Name();
}

// What OK in the Grenzfeststellung window does to the document.
void feeTableAndTotals(const std::shared_ptr<Document>& doc, Host& host) {
    sitzungsdaten().reset();
    auftragskontext().reset();
    auftragskontext().Mehrwertsteuersatz = 19;
    auftragskontext().AbschlagProzent = 100;
    sitzungsdaten().Doc = doc;
    sitzungsdaten().NeueAbfrage = host.database;
    sitzungsdaten().Rechnung = host.database->openRecordset(
        "SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 3", dao::RecordsetType::Dynaset);
    host.database->beginTrans();

    Range place = WordTabelleFestlegen("frmKat5", std::nullopt);
    Table table = doc->Tables().Add(place, 4, 5);
    TabelleFormatieren("frmKat5", table);
    TabellenkopfSchreiben("frmKat5", table, "Grenzfeststellung nach Nr. 30.6");
    wordTabelle(table, 3, 2, "Grenzpunkte", false, "");
    wordTabelle(table, 3, 5, "   480,00 €", false, "");
    wordTabelle(table, 4, 5, "   160,00 €", true, "no");
    BookmarkSetzen(table, "TARVEX_5");
    SummeBilden(true);

    auto again = Document::FromBytes(doc->SaveToBytes());
    (void)again->Content().Text();
    host.database->rollback();
    sitzungsdaten().reset();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    static bool ready = [] {
        plattform().reset();
        plattform().clock = fixedClock(*parseIsoDay("2011-03-01"));
        return true;
    }();
    (void)ready;
    try {
        auto doc = Document::FromBytes({data, size});
        walk(*doc);
        feeTableAndTotals(doc, host);
    } catch (const tarvex::Error&) {
        // refusing foreign input is the expected outcome
    }
    return 0;
}
