// The host session shared by both hosts: the database changes are committed only after the
// invoice is on disk, and a failed save keeps them pending for another attempt.

#include "host_session.h"

#include <gtest/gtest.h>

#include "common/host_database.h"
#include "platform/ui/form.h"
#include "platform/ui/user_actions.h"
#include "platform/word/word.h"
#include "plugin/session/plattform.h"

namespace tarvex::host {
namespace {

std::string netAmount(const std::filesystem::path& database) {
    return testing::queryText(database,
                              "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1");
}

TEST(HostSession, FailedSaveCommitsNothingAndASecondAttemptCommits) {
    plattform().reset();
    testing::TempFolder folder;
    const auto invoice = testing::copyTemplate("template-basic.docx", folder.path());
    const auto database = testing::schemaDatabase(
        folder.path(),
        "INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz) VALUES (5, 190);"
        "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer) VALUES (1, 'R1');");

    HostSession session(std::chrono::milliseconds(0));
    EXPECT_THROW(session.selectInvoice(1), HostError);  // no database yet
    session.openDatabase(database.string());
    EXPECT_THROW(session.selectInvoice(2), HostError);
    session.selectInvoice(1);
    EXPECT_THROW(session.show(0, 5, 0x100), HostError);  // no invoice yet
    session.openDocument(invoice.string());

    ui::Form* window = session.show(0, 5, 0x100);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(session.inTransaction());
    EXPECT_THROW(session.openDatabase(database.string()), HostError);
    ui::user::type(*window, "mskAGPSohne", "10");
    ui::user::click(*window, "CommandEnde");
    ASSERT_FALSE(window->isLoaded());
    ASSERT_TRUE(session.unsaved());

    // A folder in the invoice's place: the new file cannot be renamed over it.
    std::filesystem::remove(invoice);
    std::filesystem::create_directory(invoice);
    try {
        session.saveAndCommit();
        FAIL() << "the save must fail";
    } catch (const HostError& e) {
        EXPECT_NE(std::string(e.what()).find("nicht gespeichert"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(session.inTransaction());
    EXPECT_EQ(netAmount(database), "0");

    std::filesystem::remove(invoice);
    session.saveAndCommit();
    EXPECT_FALSE(session.inTransaction());
    EXPECT_FALSE(session.unsaved());
    EXPECT_EQ(netAmount(database), "115000");  // 10 points at 95 € and the base amount
    EXPECT_TRUE(word::Document::Open(invoice.string())->Tables().Count() > 1);
}

}  // namespace
}  // namespace tarvex::host
