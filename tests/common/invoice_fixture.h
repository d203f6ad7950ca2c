#pragma once
// Where every test of the document procedures and calculators starts: the plug-in's state
// reset, a scripted modal driver for the table selection dialog, and a copy of an invoice
// template as the host's document.

#include <memory>
#include <optional>
#include <string>

#include "common/document_queries.h"
#include "common/session_fixture.h"
#include "document/tabellenwahl.h"
#include "platform/ui/modal_driver.h"

namespace tarvex::testing {

class InvoiceTest : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        resetTabellenwahl();
        ui::setModalDriver(driver);
    }
    void TearDown() override {
        SessionTest::TearDown();
        ui::setModalDriver(nullptr);
        resetTabellenwahl();
    }

    // Opens a copy of tests/data/templates/<name> as the host's document.
    void öffnen(const std::string& name) {
        path = copyTemplate(name, folder.path()).string();
        sitzungsdaten().Doc = doc = word::Document::Open(path);
    }
    // Saves the document as the host does after OK, and opens the file afresh.
    void speichernUndNeuÖffnen() {
        doc->Save();
        sitzungsdaten().Doc = doc = word::Document::Open(path);
    }
    // The document's first table tagged `tag`.
    std::optional<word::Table> tabelleMit(const std::string& tag) {
        auto found = taggedTables(*doc, tag);
        return found.empty() ? std::nullopt : std::optional(found.front());
    }
    // Position of the reference mark of the `nth` comment reading exactly `text`, -1 if none.
    long marke(const std::string& text, int nth = 1) {
        auto k = doc->Comments();
        for (long i = 1; i <= k.Count(); ++i)
            if (k.Item(i).Text() == text && --nth == 0) return k.Item(i).Reference().Start();
        return -1;
    }

    std::string path;
    std::shared_ptr<word::Document> doc;
    std::shared_ptr<ui::ScriptedModalDriver> driver = std::make_shared<ui::ScriptedModalDriver>();
};

}  // namespace tarvex::testing
