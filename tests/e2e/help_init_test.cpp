// The help texts of every command, and `tarvex init`, which must never overwrite a file.
#include <fstream>

#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

TEST_F(TarvexCli, EveryCommandExplainsItsOptionsInGerman) {
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> mentions;
    } helps[] = {
        {{"--help"}, {"tarvex init", "tarvex show", "tarvex dump", "zeigt diese Hilfe"}},
        {{"init", "--help"},
         {"VERZEICHNIS", "lumora.sqlite", "rechnung.docx", "nie überschrieben"}},
        {{"show", "--help"},
         {"INDEX", "--db DATEI", "--doc DATEI", "--user", "--rechnung", "--wahl", "--cursor",
          "-e AKTION", "--script", "Standardeingabe", "type FELD", "Eingabetaste", "key FELD", "click", "select",
          "leave", "print", "ok, cancel", "Rückgabewert"}},
        {{"dump", "--help"}, {"DATEI", "--json", "Tabellen", "Kommentare", "Textfelder"}},
    };
    for (const auto& help : helps) {
        SCOPED_TRACE(help.args.front() + (help.args.size() > 1 ? " " + help.args[1] : ""));
        const CliResult r = tarvex(help.args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.out.starts_with("Aufruf: tarvex")) << r.out;
        for (const auto& word : help.mentions)
            EXPECT_NE(r.out.find(word), std::string::npos) << word << " missing in\n" << r.out;
    }
    const CliResult none = tarvex({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("tarvex --help"), std::string::npos) << none.err;
}

TEST_F(TarvexCli, InitNeverOverwritesAnExistingFile) {
    const fs::path demo = initDemo();
    const std::string db = readFile(demo / "lumora.sqlite"), doc = readFile(demo / "rechnung.docx");
    ASSERT_FALSE(db.empty());
    ASSERT_FALSE(doc.empty());

    CliResult r = tarvex({"init", demo.string()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("existiert bereits"), std::string::npos) << r.err;
    EXPECT_TRUE(readFile(demo / "lumora.sqlite") == db);
    EXPECT_TRUE(readFile(demo / "rechnung.docx") == doc);

    // Either file alone already stops init, and the other one is not created.
    for (const char* existing : {"lumora.sqlite", "rechnung.docx"}) {
        SCOPED_TRACE(existing);
        const fs::path folder = dir() / (std::string("nur-") + existing);
        fs::create_directory(folder);
        std::ofstream(folder / existing) << "eigene Datei des Büros";
        r = tarvex({"init", folder.string()});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find(existing), std::string::npos) << r.err;
        EXPECT_EQ(readFile(folder / existing), "eigene Datei des Büros");
        EXPECT_EQ(listing(folder), std::vector<std::string>{existing});
    }

    r = tarvex({"init"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Verzeichnis"), std::string::npos) << r.err;
}

// An office's own invoice template and schema in TARVEX_DATADIR are what init writes from; a
// file the folder lacks comes from the copy built into tarvex.
TEST_F(TarvexCli, InitWritesFromTheDataFolder) {
    const fs::path data = dir() / "daten";
    fs::create_directories(data);
    const std::string eigeneVorlage = std::string(TARVEX_TEST_DATA) + "/templates/template-basic.docx";
    fs::copy_file(eigeneVorlage, data / "rechnung.docx");
    std::ofstream(data / "schema.sql")
        << readFile(std::string(TARVEX_SOURCE_DIR) + "/schema.sql")
        << "CREATE TABLE \"Büro\" (\"Name\" TEXT);\n";
    setEnv("TARVEX_DATADIR", data.string());

    const fs::path demo = initDemo();
    EXPECT_TRUE(readFile(demo / "rechnung.docx") == readFile(eigeneVorlage));
    EXPECT_EQ(queryText(demo / "lumora.sqlite",
                        "SELECT name FROM sqlite_master WHERE name = 'Büro'"),
              "Büro");
    EXPECT_EQ(queryText(demo / "lumora.sqlite", "SELECT Rechnungsnummer FROM Rechnung"),
              "2026-0001");

    fs::remove(data / "rechnung.docx");
    const fs::path zweite = initDemo("zweite");
    EXPECT_EQ(textsAfter(dump(zweite / "rechnung.docx"), "lumStart").size(), 1u);
}

}  // namespace
}  // namespace tarvex::e2e
