// Invoices and databases that are no ordinary files: FIFOs, devices and folders are refused at
// once with what they are, a read-only invoice is refused before any window opens, and an
// invoice reached through a symbolic link is saved to the link's target.
#include <sys/stat.h>
#include <unistd.h>

#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

TEST_F(TarvexCli, NonRegularFilesAndReadOnlyInvoicesAreRefusedWithExitTwo) {
    const fs::path demo = initDemo();
    const std::string db = (demo / "lumora.sqlite").string(),
                      doc = (demo / "rechnung.docx").string();
    const std::string fifo = (dir() / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path readOnly = dir() / "gesperrt.docx";
    fs::copy_file(doc, readOnly);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    auto show = [&](const std::string& d, const std::string& b) {
        return std::vector<std::string>{"show", "0",  "--db", b, "--doc", d,
                                        "-e",   "type mskAGPSohne 10", "-e", "ok"};
    };
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {"invoice is a FIFO", show(fifo, db), "ist keine gewöhnliche Datei, sondern eine benannte Pipe"},
        {"invoice is a device", show("/dev/zero", db), "zeichenorientiertes Gerät"},
        {"invoice is a folder", show(dir().string(), db), "sondern ein Ordner"},
        {"database is a FIFO", show(doc, fifo), "sondern eine benannte Pipe"},
        {"database is a folder", show(doc, dir().string()), "sondern ein Ordner"},
        {"invoice is read-only", show(readOnly.string(), db), "schreibgeschützt"},
        {"dump of a FIFO", {"dump", fifo}, "sondern eine benannte Pipe"},
        {"dump of a device", {"dump", "/dev/zero"}, "zeichenorientiertes Gerät"},
    };
    const std::string docBefore = readFile(doc), dbBefore = readFile(db),
                      readOnlyBefore = readFile(readOnly);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliResult r = tarvex(c.args);
        // A read-only invoice is one that cannot be written (1); the others are bad input.
        EXPECT_EQ(r.exitCode, std::string(c.message) == "schreibgeschützt" ? 1 : 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_TRUE(readFile(doc) == docBefore);
    EXPECT_TRUE(readFile(db) == dbBefore);
    EXPECT_TRUE(readFile(readOnly) == readOnlyBefore);
}

TEST_F(TarvexCli, AnInvoiceBehindASymlinkIsEditedInItsTargetAndTheLinkStays) {
    const fs::path demo = initDemo();
    const fs::path link = dir() / "aktuelle-rechnung.docx";
    fs::create_symlink(demo / "rechnung.docx", link);
    const CliResult r =
        tarvex({"show", "0", "--db", (demo / "lumora.sqlite").string(), "--doc", link.string(),
                "--rechnung", "1", "-e", "type mskAGPSohne 10", "-e", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(tablesTagged(dump(demo / "rechnung.docx"), "TARVEX_5").size(), 1u);
    EXPECT_EQ(listing(demo), (std::vector<std::string>{"lumora.sqlite", "rechnung.docx"}));
}

}  // namespace
}  // namespace tarvex::e2e
