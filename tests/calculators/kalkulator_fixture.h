#pragma once
// A copy of the basic invoice template as the host's document, the calculator windows in
// Show's slots, a scripted table selection dialog and a captured log.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "calculators/frmKat5.h"
#include "calculators/kalkulator_slot.h"
#include "calculators/registrierung.h"
#include "document/fee_table.h"
#include "document/tabellenwahl.h"
#include "platform/ui/modal_driver.h"
#include "platform/ui/user_actions.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "support/debug_log.h"

namespace tarvex::testing {

namespace user = ui::user;

class KalkulatorTest : public ::testing::Test {
  public:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("tarvex-kalk-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder);
        sitzungsdaten().reset();
        plattform().reset();
        resetWindowSlots();
        resetTabellenwahl();
        ui::setModalDriver(driver);
        sitzungsdaten().hWndMDI = 0x777;
        registriereKalkulatoren();
        path = (folder / "rechnung.docx").string();
        std::filesystem::copy_file(std::string(TARVEX_TEST_DATA) + "/templates/template-basic.docx",
                                   path);
        speichernUndNeuÖffnen(false);
    }
    void TearDown() override {
        resetWindowSlots();
        ui::setModalDriver(nullptr);
        resetTabellenwahl();
        sitzungsdaten().reset();
        std::filesystem::remove_all(folder);
    }

    // Saves the document as the host does after OK, and opens the file afresh.
    void speichernUndNeuÖffnen(bool speichern = true) {
        if (speichern) doc->Save();
        doc = word::Document::Open(path);
        sitzungsdaten().Doc = doc;
    }
    // frmKat5 loaded afresh as Show opens it; `ersteTabelle`: the user picks the first
    // existing table in the selection dialog.
    frmKat5& grenzfeststellung(bool ersteTabelle = false) {
        if (ersteTabelle)
            driver->push("G_frmTabelle", [](ui::Form& dialog) {
                user::click(dialog, "optTabelle(0)");
                user::click(dialog, "cmdEnde");
            });
        auto& slot = dynamic_cast<KalkulatorSlot&>(windowSlot(0));
        slot.loadAndShow();
        return dynamic_cast<frmKat5&>(slot.fenster());
    }
    // The document's first table with a "TARVEX_5" comment, found without the dialog.
    std::optional<word::Table> gebührentabelle() {
        for (long i = 1; i <= doc->Tables().Count(); ++i) {
            auto kommentare = doc->Tables().Item(i).Range().Comments();
            for (long k = 1; k <= kommentare.Count(); ++k)
                if (kommentare.Item(k).Text() == "TARVEX_5") return doc->Tables().Item(i);
        }
        return std::nullopt;
    }
    // The texts of the comments on cell (zeile, spalte), joined.
    std::string kommentar(const word::Table& t, short zeile, short spalte) {
        auto kommentare = t.Cell(zeile, spalte).Range().Comments();
        std::string texte;
        for (long k = 1; k <= kommentare.Count(); ++k) texte += kommentare.Item(k).Text();
        return texte;
    }
    static std::string text(ui::Form& f, const std::string& feld) { return f.masked(feld).text(); }
    static std::string caption(ui::Form& f, const std::string& name) {
        return f.label(name).caption();
    }

    std::filesystem::path folder;
    std::string path;
    std::shared_ptr<word::Document> doc;
    std::shared_ptr<ui::ScriptedModalDriver> driver = std::make_shared<ui::ScriptedModalDriver>();
    ScopedLogCapture log;
};

}  // namespace tarvex::testing
