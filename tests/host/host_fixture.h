#pragma once
// The shared invoice folder opened in a host session; OK on 30.6 with 10 points stores a net of 1.150,00 €.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "common/invoice_folder.h"
#include "host_session.h"
#include "platform/dao/dao.h"
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

// The engine's database with every call passed on; a test overrides the step it breaks.
class ForwardingDatabase : public dao::Database {
  public:
    explicit ForwardingDatabase(const std::string& path)
        : inner_(dao::makeSqliteWorkspace()->openDatabase(path)) {}
    std::string name() const override { return inner_->name(); }
    std::shared_ptr<dao::Recordset> openRecordset(const std::string& source,
                                                  dao::RecordsetType type) override {
        return inner_->openRecordset(source, type);
    }
    void beginTrans() override { inner_->beginTrans(); }
    void beginExclusiveTrans(std::chrono::milliseconds patience) override {
        inner_->beginExclusiveTrans(patience);
    }
    void commitTrans() override { inner_->commitTrans(); }
    void rollback() override { inner_->rollback(); }

  protected:
    std::shared_ptr<dao::Database> inner_;
};

// A workspace opening every database as `D(path, args...)`.
template <class D, class... Args>
class WorkspaceOf final : public dao::Workspace {
  public:
    explicit WorkspaceOf(Args&... args) : args_(args...) {}
    std::shared_ptr<dao::Database> openDatabase(const std::string& path) override {
        return std::apply([&](Args&... a) { return std::make_shared<D>(path, a...); }, args_);
    }

  private:
    std::tuple<Args&...> args_;
};

class HostTest : public ::testing::Test, protected testing::InvoiceFolder {
  protected:
    void SetUp() override {
        plattform().reset();
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

    // The save after OK fails with `outcome` and a message naming `problem`; once `afterwards`
    // has run, invoice and record are as they were.
    void expectNotSaved(HostSession& session, Outcome outcome, const std::string& problem,
                        const std::function<void()>& afterwards = {}) {
        try {
            session.saveAndCommit();
            FAIL() << "the record could not be written";
        } catch (const HostError& e) {
            EXPECT_EQ(e.outcome(), outcome);
            EXPECT_NE(std::string(e.what()).find(problem), std::string::npos) << e.what();
        }
        if (afterwards) afterwards();
        EXPECT_TRUE(invoiceUnchanged());
        EXPECT_EQ(netAmount(), "0");
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

    std::string invoiceBefore;
};

}  // namespace tarvex::host
