// A Gebäudeaufnahme through `tarvex show`: a description over two lines, costs written as
// their bracket and a share with decimals; reopened, the window reads every field back and OK
// writes the same table again.
#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

// The table's cells, trimmed, with their comments.
std::vector<std::string> zellen(const json& tabelle) {
    std::vector<std::string> alle;
    for (std::size_t z = 0; z < tabelle["rows"].size(); ++z)
        for (std::size_t s = 0; s < 5; ++s)
            alle.push_back(cell(tabelle, z, s) + "|" + tabelle["rows"][z][s]["comments"].dump());
    return alle;
}

TEST_F(TarvexCli, GebaeudeaufnahmeWithBracketAndShareIsReadBackAndRewrittenUnchanged) {
    const fs::path demo = initDemo();
    const std::vector<std::string> open = {"show",       "1",
                                           "--db",       (demo / "lumora.sqlite").string(),
                                           "--doc",      (demo / "rechnung.docx").string(),
                                           "--rechnung", "1"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), open.begin(), open.end());
        return more;
    };
    CliResult r = tarvex(with({"-e", "type txtGebäude \"Wohnhaus\\nGarage\"", "-e",
                               "type mskAnzahl 12", "-e", "type mskBaukosten 7500000", "-e",
                               "click chkBereich", "-e", "type mskBezug 999,99", "-e", "ok"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto tabellen = tablesTagged(dump(demo / "rechnung.docx"), "TARVEX_4");
    ASSERT_EQ(tabellen.size(), 1u);
    const json erste = tabellen[0];
    EXPECT_EQ(erste["rows"].size(), 16u);
    EXPECT_EQ(cell(erste, 3, 1), "Wohnhaus\rGarage");
    EXPECT_EQ(cell(erste, 8, 1), "zwischen 5 M€ und 10 M€");
    EXPECT_EQ(cell(erste, 11, 4), "1.440,00 €");  // 2 further groups at 720 €
    EXPECT_EQ(cell(erste, 13, 4), "3.840,00 €");
    EXPECT_EQ(cell(erste, 15, 2), "999,99");
    EXPECT_EQ(cell(erste, 15, 4), "3.839,96 €");

    r = tarvex(with({"--wahl", "1", "-e", "print"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto states = printed(r.out);
    ASSERT_EQ(states.size(), 1u) << r.out;
    const json& c = states[0]["controls"];
    EXPECT_EQ(c["txtGebäude"]["text"], "Wohnhaus\r\nGarage");
    EXPECT_EQ(trim(c["mskAnzahl"]["text"]), "12");
    EXPECT_EQ(trim(c["mskBaukosten"]["text"]), "5000001");  // the lowest cost of the bracket
    EXPECT_EQ(c["chkBereich"]["value"], 1);
    EXPECT_EQ(c["mskBezug"]["text"], " 999,99");
    EXPECT_EQ(c["lblSumme"]["caption"], "3.840,00");

    r = tarvex(with({"--wahl", "1", "-e", "ok"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    tabellen = tablesTagged(dump(demo / "rechnung.docx"), "TARVEX_4");
    ASSERT_EQ(tabellen.size(), 1u);
    EXPECT_EQ(zellen(tabellen[0]), zellen(erste));
    EXPECT_EQ(lumoLog(), "");
}

}  // namespace
}  // namespace tarvex::e2e
