// Invoices written by other programs (tests/data/corpus, made by make-corpus.sh there): each is
// dumped, then gets a Grenzfeststellung through one OK. The result must be a sound package that
// keeps every paragraph of the original (docx_check.py) and that LibreOffice opens.
#include <cstdlib>

#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

const fs::path kCorpus = fs::path(TARVEX_TEST_DATA) / "corpus";

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kCorpus))
        if (entry.path().extension() != ".sh") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class Corpus : public TarvexCli {
  protected:
    // Each corpus file after one OK of a Grenzfeststellung, in dir()/ergebnis.
    std::vector<fs::path> editAll() {
        const fs::path demo = initDemo();
        fs::create_directories(dir() / "ergebnis");
        std::vector<fs::path> results;
        for (const fs::path& original : corpusFiles()) {
            SCOPED_TRACE(original.filename().string());
            const fs::path copy = dir() / "ergebnis" / original.filename();
            fs::copy_file(original, copy);
            const CliResult dumped = tarvex({"dump", copy.string()});
            EXPECT_EQ(dumped.exitCode, 0) << dumped.err;
            const CliResult r = tarvex({"show", "0", "--db", (demo / "lumora.sqlite").string(),
                                        "--doc", copy.string(), "--rechnung", "1", "-e",
                                        "type mskAGPSohne 10", "-e", "type mskAGP 4", "-e", "ok"});
            EXPECT_EQ(r.exitCode, 0) << r.err;
            results.push_back(copy);
        }
        return results;
    }
};

TEST_F(Corpus, EachFileTakesAFeeTableAndKeepsItsTextInASoundPackage) {
    for (const fs::path& result : editAll()) {
        SCOPED_TRACE(result.filename().string());
        const json d = dump(result);
        EXPECT_EQ(tablesTagged(d, "TARVEX_5").size(), 1u);
        const std::string command = "/usr/bin/python3 '" TARVEX_SOURCE_DIR
                                    "/tests/e2e/docx_check.py' '" +
                                    (kCorpus / result.filename()).string() + "' '" +
                                    result.string() + "' >&2";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
}

TEST_F(Corpus, LibreOfficeOpensEveryResult) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice fehlt (Debian-Paket libreoffice-writer-nogui)";
    const std::vector<fs::path> results = editAll();
    std::string command = "cd '" + (dir() / "ergebnis").string() +
                          "' && timeout 300 soffice --headless --norestore "
                          "-env:UserInstallation=file://" +
                          (dir() / "profil").string() + " --convert-to pdf --outdir pdf";
    for (const fs::path& result : results) command += " '" + result.filename().string() + "'";
    ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0);
    for (const fs::path& result : results) {
        const fs::path pdf =
            dir() / "ergebnis" / "pdf" / result.filename().replace_extension(".pdf");
        EXPECT_TRUE(fs::exists(pdf) && fs::file_size(pdf) > 1000) << pdf;
    }
}

}  // namespace
}  // namespace tarvex::e2e
