// Every step of saving after OK, made to fail or stopped dead (the process ends there, as
// with kill -9), through the file system and database the session works on. However the save
// ended, once the next session has opened the invoice, the invoice and its record agree and
// no temporary file or journal is left beside the invoice.

#include <sys/wait.h>
#include <unistd.h>

#include "host_fixture.h"
#include "platform/dao/dao.h"
#include "platform/word/file_system.h"

namespace tarvex::host {
namespace {

enum class Step { BeforeTempWritten, AfterTempFlushed, AfterRename, BeforeCommit, AfterCommit };
enum class Fault { Fail, Stop };

constexpr int kStopped = 77;  // exit status of a process stopped at its step

struct Case {
    Step step;
    Fault fault;
    bool saved;  // whether invoice and record end up with the new amounts
    const char* name;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

// Raises an error, or ends the process on the spot, once the save reaches `step`.
class Trap {
  public:
    Trap(Step step, Fault fault) : step_(step), fault_(fault) {}
    void at(Step step, int error) {
        if (step != step_ || fired_) return;
        fired_ = true;
        if (fault_ == Fault::Stop) ::_exit(kStopped);
        throw Error(error, "eingespeister Fehler");
    }

  private:
    Step step_;
    Fault fault_;
    bool fired_ = false;
};

class TrappedFile final : public word::WritableFile {
  public:
    TrappedFile(std::unique_ptr<word::WritableFile> inner, Trap& trap)
        : inner_(std::move(inner)), trap_(trap) {}
    void Append(std::span<const std::uint8_t> data) override { inner_->Append(data); }
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
        inner_->WriteAt(offset, data);
    }
    void KeepAttributes(const word::FileStatus& original) override {
        inner_->KeepAttributes(original);
    }
    void Sync() override {
        inner_->Sync();
        trap_.at(Step::AfterTempFlushed, errc::fileError);
    }
    void Close() override { inner_->Close(); }

  private:
    std::unique_ptr<word::WritableFile> inner_;
    Trap& trap_;
};

class TrappedFileSystem final : public word::ForwardingFileSystem {
  public:
    TrappedFileSystem(std::string invoice, Trap& trap)
        : ForwardingFileSystem(word::RealFileSystem()), invoice_(std::move(invoice)), trap_(trap) {}
    std::unique_ptr<word::WritableFile> CreateNew(const std::string& path) override {
        if (!invoiceTemporary(path)) return target_.CreateNew(path);
        trap_.at(Step::BeforeTempWritten, 61);  // disk full
        return std::make_unique<TrappedFile>(target_.CreateNew(path), trap_);
    }
    void Rename(const std::string& from, const std::string& to) override {
        target_.Rename(from, to);
        if (to == invoice_) trap_.at(Step::AfterRename, errc::fileError);
    }

  private:
    // The new invoice file of a save; not the journal's own temporary file.
    bool invoiceTemporary(const std::string& path) const {
        const std::string name = invoice_.substr(invoice_.rfind('/') + 1);
        return path.find("/." + name + ".tarvex-") != std::string::npos &&
               path.find("journal") == std::string::npos;
    }

    std::string invoice_;
    Trap& trap_;
};

class TrappedDatabase final : public ForwardingDatabase {
  public:
    TrappedDatabase(const std::string& path, Trap& trap) : ForwardingDatabase(path), trap_(trap) {}
    void commitTrans() override {
        trap_.at(Step::BeforeCommit, dao::daoerr::diskError);
        inner_->commitTrans();
        trap_.at(Step::AfterCommit, dao::daoerr::diskError);
    }

  private:
    Trap& trap_;
};

class InterruptedSave : public HostTest, public ::testing::WithParamInterface<Case> {
  protected:
    // OK with 10 points, then the save with the trap set. Raises what the session raises.
    void saveWithTrap(Trap& trap) {
        TrappedFileSystem files(invoice.string(), trap);
        SessionOptions options;
        options.fileSystem = &files;
        options.workspace = std::make_shared<WorkspaceOf<TrappedDatabase, Trap>>(trap);
        HostSession session(options);
        open(session);
        okWithTenPoints(session);
        session.saveAndCommit();
    }
};

TEST_P(InterruptedSave, TheNextSessionFindsInvoiceAndRecordAgreeing) {
    const Case& c = GetParam();
    Trap trap(c.step, c.fault);
    if (c.fault == Fault::Stop) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                saveWithTrap(trap);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);  // the step was never reached
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_EQ(WEXITSTATUS(status), kStopped);
    } else {
        try {
            saveWithTrap(trap);
            EXPECT_TRUE(c.saved) << "reported as saved";
        } catch (const HostError& e) {
            EXPECT_FALSE(c.saved) << e.what();
            EXPECT_EQ(e.outcome(), Outcome::NotWritten) << e.what();
        }
    }

    {
        HostSession next;
        open(next);
    }
    EXPECT_EQ(feeTables(), c.saved ? 1u : 0u);
    EXPECT_EQ(netAmount(), c.saved ? kNewNet : "0");
    EXPECT_TRUE(leftovers().empty()) << leftovers().front();
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, InterruptedSave,
    ::testing::Values(
        Case{Step::BeforeTempWritten, Fault::Fail, false, "FailBeforeTheTemporaryFileIsWritten"},
        Case{Step::AfterTempFlushed, Fault::Fail, false, "FailAfterTheTemporaryFileIsFlushed"},
        // The new file is in place: the record follows it.
        Case{Step::AfterRename, Fault::Fail, true, "FailAfterTheRename"},
        // The old file is put back.
        Case{Step::BeforeCommit, Fault::Fail, false, "FailBeforeTheCommit"},
        // The commit took effect although it reported a failure.
        Case{Step::AfterCommit, Fault::Fail, true, "FailAfterTheCommit"},
        Case{Step::BeforeTempWritten, Fault::Stop, false, "StopBeforeTheTemporaryFileIsWritten"},
        Case{Step::AfterTempFlushed, Fault::Stop, false, "StopAfterTheTemporaryFileIsFlushed"},
        // The next session completes the save from the journal.
        Case{Step::AfterRename, Fault::Stop, true, "StopAfterTheRename"},
        Case{Step::BeforeCommit, Fault::Stop, true, "StopBeforeTheCommit"},
        Case{Step::AfterCommit, Fault::Stop, true, "StopAfterTheCommit"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tarvex::host
