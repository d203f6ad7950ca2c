#include "support/debug_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include "common/scoped_env.h"
#include "common/test_files.h"
#include "support/error_trap.h"

using namespace tarvex;
namespace fs = std::filesystem;

namespace {

std::tm at(int y, int mo, int d, int h, int mi) {
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    return t;
}

class LogFileTest : public ::testing::Test {
  protected:
    void SetUp() override { setLogClock(fixedClock(at(2026, 3, 5, 9, 7))); }
    void TearDown() override {
        setLogSink(nullptr);
        setLogClock(nullptr);
    }
    void logOnce(int nummer, const std::string& beschreibung, int zeile, const std::string& modul,
                 const std::string& prozedur) {
        aktuellerFehler() = {nummer, beschreibung, zeile};
        DebugLog(modul, prozedur);
    }
    tarvex::testing::TempFolder folder;
    const fs::path& dir = folder.path();
};

}  // namespace

TEST(LogFormat, EntryIsByteExactWithCrlfAndEmptyLine) {
    const std::string entry = formatLogEntry({11, "Division durch Null", 230}, "Funktionen", "CVal",
                                             at(2026, 3, 5, 9, 7));
    EXPECT_EQ(entry,
              "5.3.26 09:07   Error 11: \r\n"
              "Division durch Null\r\n"
              "Zeile: 230\r\n"
              "Ort  : -LumDienste- Funktionen.CVal\r\n"
              "User : ohne, ohne\r\n"
              "\r\n");
}

TEST(LogFormat, UmlautsAreOneWindows1252ByteAndDescriptionsKeepTheirLineBreaks) {
    const std::string entry = formatLogEntry({6, "Über\r\nlauf", 0}, "GebührenTabelle",
                                             "SummeLöschen", at(2031, 12, 24, 23, 59));
    EXPECT_NE(entry.find("24.12.31 23:59   Error 6: \r\n"), std::string::npos);
    EXPECT_NE(entry.find("\xDC"
                         "ber\r\nlauf\r\nZeile: 0\r\n"),
              std::string::npos);
    EXPECT_NE(entry.find("-LumDienste- Geb\xFChrenTabelle.SummeL\xF6schen\r\n"), std::string::npos);
    EXPECT_EQ(toWindows1252("€ ß"), "\x80 \xDF");
    EXPECT_EQ(toWindows1252("\xE2\x82"), "??");  // truncated UTF-8 never crashes
}

TEST_F(LogFileTest, TwoFailuresAppendTwoEntriesInOrder) {
    auto sink = std::make_shared<FileLogSink>((dir / "Lumo.log").string());
    setLogSink(sink);
    logOnce(3021, "Kein aktueller Datensatz.", 50, "Rechnung", "Show");
    logOnce(94, "Unzulässige Verwendung von Null", 60, "Rechnung", "Show");
    const std::string text = tarvex::testing::readFile(dir / "Lumo.log");
    const auto first = text.find("Error 3021");
    const auto second = text.find("Error 94");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "Lumo.log").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(LogFileTest, DefaultPathFollowsTmpdirAndAMissingDirectoryLosesTheEntrySilently) {
    tarvex::testing::ScopedEnv tmpdir("TMPDIR", (dir / "fehlt").string());
    EXPECT_EQ(defaultLogPath(), (dir / "fehlt" / "Lumo.log").string());
    logOnce(13, "Typen unverträglich", 10, "Funktionen", "CVal");  // must not throw
    EXPECT_FALSE(fs::exists(dir / "fehlt"));
    tmpdir.set(dir.string());
    logOnce(13, "Typen unverträglich", 10, "Funktionen", "CVal");
    EXPECT_NE(tarvex::testing::readFile(dir / "Lumo.log").find("Error 13"), std::string::npos);
    tmpdir.set(std::nullopt);
    EXPECT_EQ(defaultLogPath(), "/tmp/Lumo.log");
}

TEST_F(LogFileTest, APlantedSymlinkOrANonRegularFileIsRefused) {
    const fs::path victim = dir / "victim.txt";
    std::ofstream(victim) << "unverändert";
    fs::create_symlink(victim, dir / "Lumo.log");
    fs::create_directories(dir / "sub" / "Lumo.log");  // a directory under the log's name
    for (const fs::path& log : {dir / "Lumo.log", dir / "sub" / "Lumo.log"}) {
        setLogSink(std::make_shared<FileLogSink>(log.string()));
        logOnce(5, "x", 1, "Rechnung", "Show");
    }
    EXPECT_EQ(tarvex::testing::readFile(victim), "unverändert");
    EXPECT_TRUE(fs::is_directory(dir / "sub" / "Lumo.log"));
}

TEST_F(LogFileTest, TheFileKeptOpenIsLeftWhenItsNameNamesAnotherFile) {
    const fs::path log = dir / "Lumo.log", victim = dir / "victim.txt";
    setLogSink(std::make_shared<FileLogSink>(log.string()));
    logOnce(5, "erster", 1, "Rechnung", "Show");
    fs::rename(log, dir / "Lumo.alt");  // rotated away: the next entry starts a new file
    logOnce(5, "zweiter", 1, "Rechnung", "Show");
    EXPECT_EQ(tarvex::testing::readFile(dir / "Lumo.alt").find("zweiter"), std::string::npos);
    EXPECT_NE(tarvex::testing::readFile(log).find("zweiter"), std::string::npos);
    std::ofstream(victim) << "unverändert";
    fs::remove(log);
    fs::create_symlink(victim, log);  // a link planted after the file was opened
    logOnce(5, "dritter", 1, "Rechnung", "Show");
    EXPECT_EQ(tarvex::testing::readFile(victim), "unverändert");
    EXPECT_EQ(tarvex::testing::readFile(dir / "Lumo.alt").find("dritter"), std::string::npos);
}

TEST_F(LogFileTest, AFifoUnderTheLogsNameNeitherBlocksNorReceivesTheEntry) {
    const fs::path log = dir / "Lumo.log";
    ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
    setLogSink(std::make_shared<FileLogSink>(log.string()));
    auto done = std::async(std::launch::async, [&] { logOnce(5, "x", 1, "Rechnung", "Show"); });
    const bool returned = done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    // A blocked writer is released by a reader, so that the test ends either way.
    const int reader = ::open(log.c_str(), O_RDONLY | O_NONBLOCK);
    done.wait();
    char byte = 0;
    const bool received = reader >= 0 && ::read(reader, &byte, 1) == 1;
    if (reader >= 0) ::close(reader);
    EXPECT_TRUE(returned) << "logging to a FIFO without a reader blocked";
    EXPECT_FALSE(received);
}
