// Runs that cannot do their job: a save that fails, unusable input and typing errors. Each
// must say so in German on standard error, end with a non-zero status and write nothing.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

// A folder in which no entry can be created, renamed or removed while the object lives.
// Permission bits do not stop root, so the immutable attribute is set too where allowed.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const fs::path& folder) : folder_(folder) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        setImmutable(true);
    }
    ~ReadOnlyFolder() {
        setImmutable(false);
        fs::permissions(folder_, fs::perms::owner_all);
    }
    // Whether the folder refuses a new file here.
    bool holds() const { return !std::ofstream(folder_ / "probe"); }

  private:
    void setImmutable(bool on) {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0) ::close(fd);
    }

    fs::path folder_;
};

std::size_t lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

TEST_F(TarvexCli, FailedSaveLeavesInvoiceAndDatabaseUnchanged) {
    const fs::path demo = initDemo();
    const fs::path locked = dir() / "schreibgeschützt";
    fs::create_directory(locked);
    fs::rename(demo / "rechnung.docx", locked / "rechnung.docx");
    const std::string doc = (locked / "rechnung.docx").string();
    const std::string db = (demo / "lumora.sqlite").string();
    const std::vector<std::string> args = {
        "show", "0", "--db", db, "--doc", doc, "--rechnung", "1", "-e", "type mskAGPSohne 10",
        "-e",   "ok"};
    const std::string docBefore = readFile(doc), dbBefore = readFile(db);

    {
        ReadOnlyFolder readOnly(locked);
        if (!readOnly.holds()) GTEST_SKIP() << "cannot make " << locked << " read-only here";
        const CliResult r = tarvex(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
        EXPECT_NE(r.err.find("konnte nicht gespeichert werden"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("unverändert"), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("gespeichert:"), std::string::npos) << r.out;
    }
    EXPECT_TRUE(readFile(doc) == docBefore);
    EXPECT_TRUE(readFile(db) == dbBefore);
    EXPECT_EQ(listing(locked), std::vector<std::string>{"rechnung.docx"});
    EXPECT_EQ(listing(demo), std::vector<std::string>{"lumora.sqlite"});

    // Nothing was left half done: once the folder is writable the same run goes through.
    const CliResult again = tarvex(args);
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(queryText(db, "SELECT NettoRechnung > 0 FROM Rechnung WHERE ID_Rechnungsnummer = 1"),
              "1");
}

TEST_F(TarvexCli, UnusableInputAndTyposExitTwoWithOneLineAndWriteNothing) {
    // A file of the demo spoilt with `content` (kHalf: cut to half its length) before the run.
    const std::string kHalf = "<half>";
    struct Case {
        const char* what;
        const char* spoilt;
        std::string content;
        std::vector<std::string> args;  // "@name": the file `name` in the demo folder
        const char* message;
    };
    auto show = [](std::vector<std::string> extra, const char* doc = "@rechnung.docx",
                   const char* db = "@lumora.sqlite") {
        extra.insert(extra.begin(), {"show", "0", "--db", db, "--doc", doc});
        return extra;
    };
    const Case cases[] = {
        {"document is no zip", "rechnung.docx", "Dies ist keine Rechnung.\n", show({}),
         "nicht lesbar"},
        {"document is a truncated zip", "rechnung.docx", kHalf, show({}), "nicht lesbar"},
        {"document missing", "", "", show({}, "@fehlt.docx"), "fehlt.docx"},
        {"database missing", "", "", show({}, "@rechnung.docx", "@fehlt.sqlite"), "nicht nutzbar"},
        {"database is no database", "lumora.sqlite", std::string(4096, 'x'), show({}),
         "nicht nutzbar"},
        {"invoice record missing", "", "", show({"--rechnung", "99"}),
         "Rechnung 99 nicht gefunden"},
        {"unknown command", "", "", {"rechne", "@rechnung.docx"}, "unbekannter Befehl"},
        {"unknown option", "", "", show({"--schnell"}), "unbekannte Option"},
        {"unknown control", "", "", show({"-e", "type mskNix 3"}), "Unbekanntes Steuerelement"},
        {"unknown action", "", "", show({"-e", "drücke ok"}), "Unbekannte Aktion"},
        {"bad answer for the table dialog", "", "", show({"--wahl", "9"}), "--wahl"},
        {"wait beyond an hour", "", "", show({"--warten", "3601"}),
         "--warten erwartet eine ganze Zahl von 0 bis 3600"},
        {"text for a record number", "", "", show({"--rechnung", "1x"}),
         "--rechnung erwartet eine ganze Zahl"},
        {"script file missing", "", "", show({"--script", "fehlt.txt"}), "Skript"},
        {"script without line breaks", "", "", show({"--script", "/dev/zero"}), "64 KiB"},
        {"user without an order", "", "", show({"--user", "2"}), "kein Auftrag"},
        {"dump of a corrupt document",
         "rechnung.docx",
         "PK\x03\x04 abgeschnitten",
         {"dump", "@rechnung.docx"},
         "rechnung.docx"},
        {"dump of a missing document", "", "", {"dump", "@fehlt.docx"}, "Datei nicht gefunden"},
    };

    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path demo = initDemo("fall" + std::to_string(++number));
        if (*c.spoilt) {
            const std::string whole = readFile(demo / c.spoilt);
            std::ofstream(demo / c.spoilt, std::ios::binary | std::ios::trunc)
                << (c.content == kHalf ? whole.substr(0, whole.size() / 2) : c.content);
        }
        std::vector<std::string> args = c.args;
        for (auto& a : args)
            if (a.starts_with("@")) a = (demo / a.substr(1)).string();
        if (args.front() == "show")
            args.insert(args.end(), {"-e", "type mskAGPSohne 10", "-e", "ok"});
        const auto filesBefore = listing(demo);
        const std::string docBefore = readFile(demo / "rechnung.docx");
        const std::string dbBefore = readFile(demo / "lumora.sqlite");

        const CliResult r = tarvex(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(readFile(demo / "rechnung.docx") == docBefore);
        EXPECT_TRUE(readFile(demo / "lumora.sqlite") == dbBefore);
        EXPECT_EQ(listing(demo), filesBefore);
    }
}

}  // namespace
}  // namespace tarvex::e2e
