// A Lang gestreckte Anlagen fee (item 30.3) through `tarvex show 2` on the demo from `tarvex
// init`: the fee table with its share, the totals and the invoice record; then reopened, read
// back, and written again by OK unchanged.
#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

TEST_F(TarvexCli, AnlagenFeeIsWrittenReadBackAndWrittenAgainUnchanged) {
    const fs::path demo = initDemo();
    const std::string db = (demo / "lumora.sqlite").string(),
                      doc = (demo / "rechnung.docx").string();
    auto show = [&](std::vector<std::string> actions) {
        std::vector<std::string> args = {"show", "2", "--db", db, "--doc", doc, "--rechnung", "1"};
        for (auto& a : actions) args.insert(args.end(), {"-e", a});
        return tarvex(args);
    };

    CliResult r = show({"type grdAusFlur 112/3, 112/4", "type mskAusFlur 2",
                        "type mskFlurstücke 120", "type mskGP 10", "type mskAGP 8",
                        "select cmbKlassifizierung 1", "type mskBezug 500,", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(lumoLog(), "");
    const json d = dump(doc);
    auto fees = tablesTagged(d, "TARVEX_3");
    ASSERT_EQ(fees.size(), 1u);
    const json first = fees[0]["rows"];
    ASSERT_EQ(first.size(), 31u);
    // 27.100,00 × 1,2 = 32.520,00, of which the client bears one half.
    EXPECT_EQ(cell(fees[0], 22, 4), "32.520,00 €");
    EXPECT_EQ(cell(fees[0], 24, 4), "16.260,00 €");
    EXPECT_EQ(queryText(db, "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1"),
              "1626000");

    r = tarvex({"show", "2", "--db", db, "--doc", doc, "--rechnung", "1", "--wahl", "1", "-e",
                "print", "-e", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto states = printed(r.out);
    ASSERT_EQ(states.size(), 1u) << r.out;
    const json& c = states[0]["controls"];
    std::string read;
    for (const char* field : {"grdAusFlur", "mskAusFlur", "mskFlurstücke", "mskNeuFlur",
                              "mskNeuFlur51", "mskGP", "mskAGP", "mskBezug"})
        read += trim(c[field]["text"]) + "/";
    EXPECT_EQ(read, "112/3, 112/4/2/120/50/70/10/8/500,00/");
    EXPECT_EQ(c["cmbKlassifizierung"]["listindex"], 1);
    EXPECT_EQ(c["lblFaktor"]["caption"], "1,2");
    EXPECT_EQ(trim(c["lblSumme"]["caption"]), "32.520,00");

    // The second OK replaced the table with one of the same cells, blanks aside: the rebuilt
    // total of formed parcels is right-aligned now.
    fees = tablesTagged(dump(doc), "TARVEX_3");
    ASSERT_EQ(fees.size(), 1u);
    json again = fees[0]["rows"], before = first;
    for (json* rows : {&again, &before}) {
        std::string total = (*rows)[6][1]["text"];
        std::erase(total, ' ');
        (*rows)[6][1]["text"] = total;
    }
    EXPECT_EQ(again, before);
    EXPECT_EQ(lumoLog(), "");
}

}  // namespace
}  // namespace tarvex::e2e
