#pragma once
// A copy of an invoice template opened as the host's document, a scripted modal driver, a
// fresh table selection dialog and a captured log: the state every fee table test starts from.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "document/fee_table.h"
#include "document/summe_loeschen.h"
#include "document/tabellenwahl.h"
#include "platform/ui/modal_driver.h"
#include "platform/ui/user_actions.h"
#include "platform/word/word.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "support/debug_log.h"

namespace tarvex::testing {

class FeeTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        folder = std::filesystem::temp_directory_path() /
                 ("tarvex-doc-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(folder);
        sitzungsdaten().reset();
        plattform().reset();
        resetTabellenwahl();
        driver = std::make_shared<ui::ScriptedModalDriver>();
        ui::setModalDriver(driver);
    }
    void TearDown() override {
        ui::setModalDriver(nullptr);
        resetTabellenwahl();
        sitzungsdaten().reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Opens a copy of tests/data/templates/<name> as the host's document.
    word::Document& öffnen(const std::string& name) {
        path = (folder / name).string();
        std::filesystem::copy_file(std::string(TARVEX_TEST_DATA) + "/templates/" + name, path);
        doc = word::Document::Open(path);
        sitzungsdaten().Doc = doc;
        return *doc;
    }
    // Saves, drops the document and opens the saved file afresh.
    word::Document& speichernUndNeuÖffnen() {
        doc->Save();
        doc = word::Document::Open(path);
        sitzungsdaten().Doc = doc;
        return *doc;
    }

    // Writes a fee table the way a calculator's OK does: clear the totals, place, insert,
    // format, two fixed rows, the item rows, tag.
    word::Table feeTabelle(const std::string& tag, const std::optional<word::Table>& alt,
                           const std::vector<std::vector<std::string>>& zeilen,
                           const std::string& fenster = "frmKat5") {
        SummeLöschen();
        word::Range ort = WordTabelleFestlegen(fenster, alt);
        word::Table t = doc->Tables().Add(ort, static_cast<long>(zeilen.size()) + 2, 5);
        TabelleFormatieren(fenster, t);
        TabellenkopfSchreiben(fenster, t, "Grenzfeststellung nach Nr. 30.6");
        for (std::size_t z = 0; z < zeilen.size(); ++z)
            for (std::size_t s = 0; s < zeilen[z].size(); ++s)
                wordTabelle(t, static_cast<short>(z + 3), static_cast<short>(s + 1), zeilen[z][s],
                            false, s == 4 && z + 1 < zeilen.size() ? "no" : "");
        BookmarkSetzen(t, tag);
        return t;
    }

    // 1-based index of `t` among the document's tables, 0 when it is not there.
    long platz(const word::Table& t) {
        for (long i = 1; i <= doc->Tables().Count(); ++i)
            if (doc->Tables().Item(i) == t) return i;
        return 0;
    }
    // Position of the reference mark of the `nth` comment reading `text`.
    long markenPosition(const std::string& text, int nth = 1) {
        auto kommentare = doc->Comments();
        for (long i = 1; i <= kommentare.Count(); ++i)
            if (kommentare.Item(i).Text() == text && --nth == 0)
                return kommentare.Item(i).Reference().Start();
        return -1;
    }

    std::filesystem::path folder;
    std::string path;
    std::shared_ptr<word::Document> doc;
    std::shared_ptr<ui::ScriptedModalDriver> driver;
    ScopedLogCapture log;
};

}  // namespace tarvex::testing
