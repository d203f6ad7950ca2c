#include "bench_umgebung.h"

#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

#include "calculators/kalkulator_slot.h"
#include "calculators/registrierung.h"
#include "document/fee_table.h"
#include "document/summe_bilden.h"
#include "document/tabellenwahl.h"
#include "platform/dao/dao.h"
#include "platform/ui/modal_driver.h"
#include "platform/ui/user_actions.h"
#include "plugin/session/auftragskontext.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "plugin/session/window_slots.h"

namespace tarvex::bench {

namespace {

std::string dateiText(const std::filesystem::path& pfad) {
    std::ifstream in(pfad, std::ios::binary);
    if (!in) throw std::runtime_error("nicht lesbar: " + pfad.string());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void sqlAusführen(const std::filesystem::path& datei, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(datei.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open");
    char* meldung = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &meldung);
    const std::string text = meldung ? meldung : "";
    sqlite3_free(meldung);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("SQL: " + text);
}

}  // namespace

std::vector<std::uint8_t> vorlage(const std::string& name) {
    const std::string text = dateiText(std::filesystem::path(TARVEX_TEMPLATES) / name);
    return {text.begin(), text.end()};
}

Hostdatenbank::Hostdatenbank() {
    std::random_device zufall;
    ordner_ = std::filesystem::temp_directory_path() /
              ("tarvex-bench-" + std::to_string(zufall()) + std::to_string(zufall()));
    std::filesystem::create_directories(ordner_);
    datei_ = ordner_ / "host.db";
    sqlAusführen(datei_, dateiText(std::string(TARVEX_SOURCE_DIR) + "/schema.sql"));
    sqlAusführen(datei_,
                 "INSERT INTO Version VALUES (1, 'Zahlbar bis <14>.', 25.5, 1);"
                 "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, ID_Auftragsnummer)"
                 " VALUES (3, '2011-003', 4711);"
                 "INSERT INTO TempDoc (ID_Benutzer, ID_Auftragsnummer, Mehrwertsteuersatz,"
                 " Mehrwertsteuer, MwStErmäßigt, Zahlungsziel) VALUES (5, 4711, 190, 190, 70, 1);");
}

Hostdatenbank::~Hostdatenbank() {
    std::error_code ignoriert;
    std::filesystem::remove_all(ordner_, ignoriert);
}

void sitzungEinrichten(const Hostdatenbank& db) {
    resetWindowSlots();
    resetTabellenwahl();
    sitzungsdaten().reset();
    auftragskontext().reset();
    plattform().reset();
    plattform().clock = fixedClock(*parseIsoDay("2011-03-01"));
    auftragskontext().Mehrwertsteuersatz = 19;
    auftragskontext().AbschlagProzent = 100;
    auftragskontext().Zahlungsziel = true;
    sitzungsdaten().hWndMDI = 0x777;
    sitzungsdaten().NeueAbfrage = dao::makeSqliteWorkspace()->openDatabase(db.datei().string());
    sitzungsdaten().Rechnung = sitzungsdaten().NeueAbfrage->openRecordset(
        "SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 3", dao::RecordsetType::Dynaset);
    ui::setModalDriver(std::make_shared<ui::ScriptedModalDriver>([](ui::Form& dialog) {
        ui::user::click(dialog, "optTabelle(0)");
        ui::user::click(dialog, "cmdEnde");
    }));
    registriereKalkulatoren();
}

std::shared_ptr<word::Document> dokumentSetzen(const std::vector<std::uint8_t>& bytes) {
    auto doc = word::Document::FromBytes(bytes);
    sitzungsdaten().Doc = doc;
    return doc;
}

std::vector<std::uint8_t> rechnungMitTabellen(const std::string& vorlageName, int anzahl) {
    auto doc = dokumentSetzen(vorlage(vorlageName));
    // The tables are written with the fee table writer's own procedures, in the layout the
    // window's OK leaves (17 rows, amounts in column 5, "no" on the subtotals); going through
    // OK itself would rebuild the totals after every table and take a minute for 50.
    for (int i = 0; i < anzahl; ++i) {
        word::Range platz = WordTabelleFestlegen("frmKat5", std::nullopt);
        word::Table t = doc->Tables().Add(platz, 17, 5);
        TabelleFormatieren("frmKat5", t);
        TabellenkopfSchreiben("frmKat5", t, "Grenzfeststellung nach Nr. 30.6.1.1");
        wordTabelle(t, 3, 2, "25 Grenzpunkte zu je 95,00 €", false, "");
        wordTabelle(t, 3, 5, "2.375,00 €", false, "no");
        wordTabelle(t, 4, 2, "5 Grenzpunkte zu je 85,00 €", false, "");
        wordTabelle(t, 4, 5, "425,00 €", false, "no");
        wordTabelle(t, 7, 5, "2.900,00 €", false, "no");
        wordTabelle(t, 15, 2, "Sockelbetrag", false, "");
        wordTabelle(t, 15, 5, "200,00 €", false, "no");
        wordTabelle(t, 17, 2, "Gebühr", true, "");
        wordTabelle(t, 17, 5, "3.100,00 €", true, "");
        BookmarkSetzen(t, "TARVEX_5");
    }
    SummeBilden(true);
    return doc->SaveToBytes();
}

void grenzfeststellungOk() {
    auto& slot = dynamic_cast<KalkulatorSlot&>(windowSlot(0));
    slot.loadAndShow();
    ui::Form& f = slot.fenster();
    ui::user::type(f, "mskAGPSohne", "30");
    ui::user::type(f, "mskAGP", "4");
    ui::user::click(f, "CommandEnde");
}

}  // namespace tarvex::bench
