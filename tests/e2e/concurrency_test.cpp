// Several runs on one invoice at the same time: none may lose another's fee table, and a run
// that cannot get the invoice says so and writes nothing.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<std::string> showArgs(const fs::path& demo, std::vector<std::string> extra) {
    std::vector<std::string> args = {"show",       "0",
                                     "--db",       (demo / "lumora.sqlite").string(),
                                     "--doc",      (demo / "rechnung.docx").string(),
                                     "--rechnung", "1",
                                     "--wahl",     "neu"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST_F(TarvexCli, ConcurrentRunsOnOneInvoiceKeepEachOthersTables) {
    const fs::path demo = initDemo();
    // The first run types its actions slowly on standard input; the others start meanwhile.
    auto slow = start(showArgs(demo, {"--script", "-"}));
    auto second = start(showArgs(demo, {"-e", "type mskAGPSohne 20", "-e", "ok"}));
    auto third = start(showArgs(demo, {"-e", "type mskAGPSohne 15", "-e", "ok"}));
    for (const char* line : {"type mskAGPSohne 10\n", "type mskBoden 150\n", "ok\n"}) {
        std::this_thread::sleep_for(150ms);
        slow->write(line);
    }
    const std::pair<std::string, CliResult> runs[] = {
        {"10", slow->wait()}, {"20", second->wait()}, {"15", third->wait()}};

    const json d = dump(demo / "rechnung.docx");
    const auto fees = tablesTagged(d, "TARVEX_5");
    std::size_t succeeded = 0;
    long long feeSum = 0;
    for (const auto& [points, r] : runs) {
        SCOPED_TRACE("run with " + points + " points");
        bool found = false;
        for (const auto& table : fees) found = found || cell(table, 2, 2) == points;
        if (r.exitCode == 0) {
            ++succeeded;
            EXPECT_TRUE(found) << "a run that reported success lost its table";
        } else {
            EXPECT_NE(r.err.find("anderen Lauf"), std::string::npos) << r.err;
            EXPECT_FALSE(found);
        }
    }
    EXPECT_EQ(fees.size(), succeeded);
    EXPECT_GE(succeeded, 1u);
    for (const auto& table : fees) feeSum += cents(trim((*rowWith(table, 1, "Gebühr"))[4]["text"]));

    // The invoice total and the record were made by the last run, over every table.
    const auto totals = tablesTagged(d, "RE_Summe");
    ASSERT_EQ(totals.size(), 1u);
    EXPECT_EQ(cents(trim((*rowWith(totals[0], 1, "Summe"))[3]["text"])), feeSum);
    EXPECT_EQ(queryText(demo / "lumora.sqlite", "SELECT NettoRechnung FROM Rechnung"),
              std::to_string(feeSum));
}

// Holds the invoice the way a run does while it has it open: an exclusive flock.
class HeldInvoice {
  public:
    explicit HeldInvoice(const fs::path& file) : fd_(::open(file.c_str(), O_RDONLY | O_CLOEXEC)) {
        EXPECT_EQ(::flock(fd_, LOCK_EX), 0);
    }
    ~HeldInvoice() { release(); }
    void release() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

TEST_F(TarvexCli, RunWaitsForAHeldInvoiceThenFailsClearlyOrGoesOn) {
    const fs::path demo = initDemo();
    const fs::path doc = demo / "rechnung.docx";
    const auto args = showArgs(demo, {"-e", "type mskAGPSohne 10", "-e", "ok"});
    const std::string before = readFile(doc);

    {
        HeldInvoice held(doc);
        const auto started = Clock::now();
        const CliResult r = tarvex(args);
        EXPECT_EQ(r.exitCode, 3);  // busy, not bad input
        EXPECT_NE(r.err.find("anderen Lauf"), std::string::npos) << r.err;
        EXPECT_GE(Clock::now() - started, 2s) << "gave up without waiting";
        EXPECT_TRUE(readFile(doc) == before);
        EXPECT_EQ(queryText(demo / "lumora.sqlite", "SELECT NettoRechnung FROM Rechnung"), "0");
    }

    // Released while the run still waits: the run goes on and writes its table.
    HeldInvoice held(doc);
    auto run = start(args);
    std::this_thread::sleep_for(1s);
    held.release();
    const CliResult r = run->wait();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(tablesTagged(dump(doc), "TARVEX_5").size(), 1u);
}

}  // namespace
}  // namespace tarvex::e2e
