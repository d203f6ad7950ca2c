#pragma once
// A copy of the basic invoice template and a host database made from schema.sql with user 5's
// order at 19 % and invoice record 1; OK on 30.6 with 10 points stores a net of 1.150,00 €.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "common/document_queries.h"
#include "common/host_database.h"
#include "host_session.h"
#include "platform/ui/form.h"
#include "platform/ui/user_actions.h"
#include "platform/word/word.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"

namespace tarvex::host {

inline constexpr std::int32_t kUser = 5;
inline constexpr WindowHandle kClient = 0x100;
// The net of 10 boundary points (10 × 95 € and the base amount of 200 €), in cents.
inline constexpr const char* kNewNet = "115000";

class HostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plattform().reset();
        invoice = testing::copyTemplate("template-basic.docx", folder.path());
        database = testing::schemaDatabase(
            folder.path(),
            "INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz, AbschlagProzent)"
            " VALUES (5, 190, 100);"
            "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Mehrwertsteuersatz)"
            " VALUES (1, '2026-0815', 190);");
        invoiceBefore = testing::readFile(invoice.string());
    }
    void TearDown() override { sitzungsdaten().reset(); }

    // Opens database, invoice and record 1 in `session`.
    void open(HostSession& session) {
        session.openDatabase(database.string());
        session.openDocument(invoice.string());
        session.selectInvoice(1);
    }
    // Show for 30.6, 10 points typed, `beforeOk` run, OK clicked (the plug-in writes the
    // record).
    static void okWithTenPoints(HostSession& session, const std::function<void()>& beforeOk = {}) {
        ui::Form* window = session.show(0, kUser, kClient);
        ASSERT_NE(window, nullptr);
        ui::user::type(*window, "mskAGPSohne", "10");
        if (beforeOk) beforeOk();
        ui::user::click(*window, "CommandEnde");
        ASSERT_FALSE(window->isLoaded());
    }

    std::string netAmount() const {
        return testing::queryText(database,
                                  "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1");
    }
    std::size_t feeTables() const {
        return testing::taggedTables(*word::Document::Open(invoice.string()), "TARVEX_5").size();
    }
    bool invoiceUnchanged() const { return testing::readFile(invoice.string()) == invoiceBefore; }
    // Everything in the invoice's folder but the invoice and the database (with its own
    // rollback journal).
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.path() != invoice &&
                entry.path().filename().string().rfind(database.filename().string(), 0) != 0)
                names.push_back(entry.path().filename().string());
        return names;
    }

    testing::TempFolder folder;
    std::filesystem::path invoice;
    std::filesystem::path database;
    std::string invoiceBefore;
};

}  // namespace tarvex::host
