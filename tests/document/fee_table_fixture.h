#pragma once
// A copy of an invoice template opened as the host's document, a scripted modal driver, a
// fresh table selection dialog and a captured log: where every fee table test starts.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "document/fee_table.h"
#include "document/summe_loeschen.h"
#include "document/tabellenwahl.h"
#include "platform/ui/modal_driver.h"
#include "platform/ui/user_actions.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "support/debug_log.h"

namespace tarvex::testing {

using Zeilen = std::vector<std::vector<std::string>>;

class FeeTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("tarvex-doc-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder);
        plattform().reset();
        resetTabellenwahl();
        ui::setModalDriver(driver);
    }
    void TearDown() override {
        ui::setModalDriver(nullptr);
        resetTabellenwahl();
        sitzungsdaten().reset();
        std::filesystem::remove_all(folder);
    }

    // Opens a copy of tests/data/templates/<name> as the host's document.
    void öffnen(const std::string& name) {
        path = (folder / name).string();
        std::filesystem::copy_file(std::string(TARVEX_TEST_DATA) + "/templates/" + name, path);
        sitzungsdaten().Doc = doc = word::Document::Open(path);
    }
    void speichernUndNeuÖffnen() {
        doc->Save();
        sitzungsdaten().Doc = doc = word::Document::Open(path);
    }

    // A calculator's OK: clear the totals, place, insert, format, fixed rows, items ("no" on
    // every amount but the last), tag.
    word::Table feeTabelle(const std::string& tag, const std::optional<word::Table>& alt,
                           const Zeilen& zeilen, const std::string& fenster = "frmKat5") {
        SummeLöschen();
        word::Table t = doc->Tables().Add(WordTabelleFestlegen(fenster, alt),
                                          static_cast<long>(zeilen.size()) + 2, 5);
        TabelleFormatieren(fenster, t);
        TabellenkopfSchreiben(fenster, t, "Grenzfeststellung nach Nr. 30.6");
        for (std::size_t z = 0; z < zeilen.size(); ++z)
            for (std::size_t s = 0; s < zeilen[z].size(); ++s)
                wordTabelle(t, short(z + 3), short(s + 1), zeilen[z][s], false,
                            s == 4 && z + 1 < zeilen.size() ? "no" : "");
        BookmarkSetzen(t, tag);
        return t;
    }

    // Position of the reference mark of the `nth` comment reading exactly `text`.
    long marke(const std::string& text, int nth = 1) {
        auto k = doc->Comments();
        for (long i = 1; i <= k.Count(); ++i)
            if (k.Item(i).Text() == text && --nth == 0) return k.Item(i).Reference().Start();
        return -1;
    }

    std::filesystem::path folder;
    std::string path;
    std::shared_ptr<word::Document> doc;
    std::shared_ptr<ui::ScriptedModalDriver> driver = std::make_shared<ui::ScriptedModalDriver>();
    ScopedLogCapture log;
};

}  // namespace tarvex::testing
