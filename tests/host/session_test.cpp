// The host session against a database held or refusing writes: it waits for the write lock
// as long as it was told, and it never saves an invoice whose record could not be written.

#include <sqlite3.h>
#include <algorithm>
#include <fstream>
#include <sys/stat.h>

#include "common/scoped_env.h"
#include "database_problem.h"
#include "host_fixture.h"
#include "platform/com/class_registry.h"
#include "platform/dao/dao.h"

namespace tarvex::host {
namespace {

// Another program's connection holding the database's write lock until released.
class Holder {
  public:
    explicit Holder(const std::filesystem::path& file) {
        sqlite3_open(file.c_str(), &db_);
        EXPECT_EQ(sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~Holder() { sqlite3_close(db_); }
    void release() { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

  private:
    sqlite3* db_ = nullptr;
};

TEST_F(HostTest, AShortHoldOnTheDatabaseIsWaitedForAndBothAreWritten) {
    std::unique_ptr<Holder> holder;
    std::vector<bool> notices;
    SessionOptions options;
    options.databasePatience = std::chrono::seconds(30);
    // The other program finishes while we wait: no timing involved.
    options.waitNotice = [&](bool waiting) {
        notices.push_back(waiting);
        if (waiting && holder) holder->release();
    };
    HostSession session(options);
    open(session);
    okWithTenPoints(session, [&] { holder = std::make_unique<Holder>(database); });
    session.saveAndCommit();

    EXPECT_EQ(notices, (std::vector<bool>{true, false}));
    EXPECT_EQ(netAmount(), kNewNet);
    EXPECT_EQ(feeTables(), 1u);
    EXPECT_TRUE(leftovers().empty());
}

// Opening an invoice removes the temporary files an interrupted save of it left behind, and
// nothing else: not another invoice's, not a link or a folder of that name.
TEST_F(HostTest, OpeningRemovesOnlyThisInvoicesLeftTemporaryFiles) {
    const std::string name = invoice.filename().string();
    const auto beside = [&](const std::string& file) { return folder.path() / file; };
    const auto write = [&](const std::string& file) { std::ofstream(beside(file)) << "halb"; };
    write("." + name + ".tarvex-12345.tmp");
    write(".." + name + ".tarvex-journal.tarvex-7.tmp");
    const std::vector<std::string> kept = {".anderes.docx.tarvex-1.tmp", "." + name + ".tarvex-2.tmpx",
                                           "." + name + ".tarvex-link.tmp", "." + name + ".tarvex-dir.tmp"};
    write(kept[0]);
    write(kept[1]);
    std::filesystem::create_symlink(invoice, beside(kept[2]));
    std::filesystem::create_directory(beside(kept[3]));

    HostSession session;
    open(session);
    std::vector<std::string> left = leftovers();
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    EXPECT_TRUE(invoiceUnchanged());
}

// The plug-in reads the order context through the connection the host already holds: an OK
// opens the database once.
TEST_F(HostTest, ThePlugInReadsThroughTheHostsOwnConnection) {
    struct Counting : dao::Workspace {
        std::shared_ptr<dao::Workspace> inner = dao::makeSqliteWorkspace();
        int opened = 0;
        std::shared_ptr<dao::Database> openDatabase(const std::string& path) override {
            ++opened;
            return inner->openDatabase(path);
        }
    };
    auto counting = std::make_shared<Counting>();
    SessionOptions options;
    options.workspace = counting;
    HostSession session(options);
    open(session);
    okWithTenPoints(session);
    session.saveAndCommit();
    EXPECT_EQ(counting->opened, 1);
    EXPECT_EQ(netAmount(), kNewNet);
}

TEST_F(HostTest, ALongHoldEndsBusyWithNothingChanged) {
    std::vector<bool> notices;
    SessionOptions options;
    options.databasePatience = std::chrono::milliseconds(300);
    options.waitNotice = [&](bool waiting) {
        if (notices.empty() || notices.back() != waiting) notices.push_back(waiting);
    };
    HostSession session(options);
    open(session);
    std::unique_ptr<Holder> holder;
    okWithTenPoints(session, [&] { holder = std::make_unique<Holder>(database); });
    expectNotSaved(session, Outcome::Busy, "gesperrt", [&] { holder->release(); });
    EXPECT_EQ(notices, (std::vector<bool>{true, false}));
    EXPECT_FALSE(session.unsaved());  // the dropped changes are gone from the document too
}

// Its exclusive transaction is refused as a read-only database refuses writes.
class ReadOnlyDatabase final : public ForwardingDatabase {
  public:
    using ForwardingDatabase::ForwardingDatabase;
    void beginExclusiveTrans(std::chrono::milliseconds) override {
        throw Error(dao::daoerr::readOnly, "attempt to write a readonly database");
    }
};

TEST_F(HostTest, AReadOnlyDatabaseLeavesTheInvoiceUnsaved) {
    SessionOptions options;
    options.workspace = std::make_shared<WorkspaceOf<ReadOnlyDatabase>>();
    HostSession session(options);
    open(session);
    okWithTenPoints(session);
    expectNotSaved(session, Outcome::NotWritten, "schreibgeschützt");
}

// Each step needs the one before it; a failed save keeps the changes pending for another try.
TEST_F(HostTest, StepsOutOfOrderAreRefusedAndAFailedSaveCanBeRetried) {
    SessionOptions options;
    options.documentPatience = std::chrono::milliseconds(0);
    HostSession session(options);
    EXPECT_THROW(session.selectInvoice(1), HostError);  // no database yet
    session.openDatabase(database.string());
    EXPECT_THROW(session.selectInvoice(2), HostError);
    session.selectInvoice(1);
    EXPECT_THROW(session.show(0, kUser, kClient), HostError);  // no invoice yet
    session.openDocument(invoice.string());
    okWithTenPoints(session, [&] {
        EXPECT_TRUE(session.inTransaction());
        EXPECT_THROW(session.openDatabase(database.string()), HostError);
    });
    ASSERT_TRUE(session.unsaved());
    // A folder in the invoice's place: the new file cannot be renamed over it.
    std::filesystem::remove(invoice);
    std::filesystem::create_directory(invoice);
    EXPECT_THROW(session.saveAndCommit(), HostError);
    EXPECT_TRUE(session.inTransaction());
    EXPECT_EQ(netAmount(), "0");

    std::filesystem::remove(invoice);
    session.saveAndCommit();
    EXPECT_FALSE(session.inTransaction() || session.unsaved());
    EXPECT_EQ(netAmount(), kNewNet);
    EXPECT_EQ(feeTables(), 1u);
}

TEST(DatabaseProblem, NamesTheProblemInGermanAndKeepsTheEngineTextInParentheses) {
    struct Case {
        int number;
        const char* engine;
        const char* german;
        Outcome outcome;
    };
    const Case cases[] = {
        {dao::daoerr::locked, "database is locked", "gesperrt", Outcome::Busy},
        {dao::daoerr::notADatabase, "file is not a database", "keine Datenbank",
         Outcome::BadInput},
        {dao::daoerr::readOnly, "attempt to write a readonly database", "schreibgeschützt",
         Outcome::NotWritten},
        {dao::daoerr::tableNotFound, "no such table: Rechnung", "die Tabelle „Rechnung“",
         Outcome::BadInput},
        {dao::daoerr::tooFewParameters, "no such column: Brutto", "die Spalte „Brutto“",
         Outcome::BadInput},
        {dao::daoerr::diskError, "database or disk is full", "voll", Outcome::NotWritten},
    };
    for (const Case& c : cases) {
        const std::string text = databaseProblem(Error(c.number, c.engine));
        EXPECT_NE(text.find(c.german), std::string::npos) << text;
        EXPECT_EQ(text.find(c.engine), text.size() - std::string(c.engine).size() - 1) << text;
        EXPECT_EQ(databaseOutcome(Error(c.number, c.engine)), c.outcome) << text;
    }
}

// A registry that cannot be written does not stop the run; it is said once.
TEST_F(HostTest, AnUnwritableClassRegistryRegistersForThisRunOnly) {
    const testing::ScopedEnv config("XDG_CONFIG_HOME", invoice.string() + "/kein-ordner");
    std::vector<std::string> notes;
    SessionOptions options;
    options.inform = [&](const std::string& note) { notes.push_back(note); };
    {
        HostSession session(options);
        open(session);
        EXPECT_NE(session.show(0, kUser, kClient), nullptr);
    }
    {
        HostSession again(options);
        open(again);
        EXPECT_NE(again.show(0, kUser, kClient), nullptr);
    }
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("nur für diesen Lauf"), std::string::npos) << notes[0];
}

TEST(ClassRegistry, AnUnchangedEntryLeavesTheFileAlone) {
    com::registerClass("TARVEX.Probe", "/opt/probe.so");
    const auto file = com::classRegistryPath();
    struct stat first {}, second {};
    ASSERT_EQ(::stat(file.c_str(), &first), 0);
    com::registerClass("TARVEX.Probe", "/opt/probe.so");
    ASSERT_EQ(::stat(file.c_str(), &second), 0);
    EXPECT_EQ(first.st_ino, second.st_ino);  // a rewrite renames a new file into place
    com::registerClass("TARVEX.Probe", "/opt/other.so");
    ASSERT_EQ(::stat(file.c_str(), &second), 0);
    EXPECT_NE(first.st_ino, second.st_ino);
    com::unregisterClass("TARVEX.Probe");
}

}  // namespace
}  // namespace tarvex::host
