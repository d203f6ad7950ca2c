// A Grenzfeststellung calculated through `tarvex show` and confirmed with OK, on the demo
// from `tarvex init` and on copies of the invoice templates: the fee table, the totals table,
// the amounts at the markers, the invoice record and the deadline box; then the invoice
// reopened to show that the window reads its table back.
#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

TEST_F(TarvexCli, DemoInvoiceFromInitGetsFeeTableTotalsRecordAndDeadline) {
    const fs::path demo = initDemo();
    const std::string db = (demo / "lumora.sqlite").string(),
                      doc = (demo / "rechnung.docx").string();
    auto run = [&](const char* last) {
        return tarvex({"show", "0", "--db", db, "--doc", doc, "--rechnung", "1", "-e",
                       "type mskAGPSohne 10", "-e", "type mskAGP 4", "-e", "type mskBoden 150",
                       "-e", last});
    };
    // Cancel, and a run whose actions end with the window open (a preview), write nothing,
    // also when the invoice already holds a table to read back.
    auto nothingWritten = [&] {
        const std::string docBefore = readFile(doc), dbBefore = readFile(db);
        for (const char* last : {"cancel", "print"}) {
            const CliResult r = run(last);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_NE(r.out.find("Nichts geschrieben"), std::string::npos) << r.out;
            EXPECT_TRUE(readFile(doc) == docBefore) << last << " changed the invoice";
            EXPECT_TRUE(readFile(db) == dbBefore) << last << " changed the database";
        }
    };
    nothingWritten();

    const CliResult r = run("ok");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("Rechnung gespeichert"), std::string::npos) << r.out;
    EXPECT_EQ(lumoLog(), "") << "a clean calculation logs no trapped error";

    const json d = dump(doc);
    ASSERT_EQ(tablesTagged(d, "TARVEX_5").size(), 1u);
    // The fee is 2.562,50; 19 % of it is 486,875: the cent is rounded up to 486,88.
    expectTotals(d, 256250);

    EXPECT_EQ(queryText(db,
                        "SELECT NettoRechnung, Brutto, MehrwertsteuerFreierbetrag FROM Rechnung "
                        "WHERE ID_Rechnungsnummer = 1"),
              "256250|304938|0");
    const json box = shape(d, "Zahlungsziel");
    ASSERT_FALSE(box.empty()) << d["shapes"].dump();
    // Invoice date 01.03.2026 plus the 14 days of the demo sentence.
    EXPECT_NE(box["text"].get<std::string>().find("15.03.2026"), std::string::npos) << box.dump();
    EXPECT_EQ(box["alignment"], "center");
    nothingWritten();
    EXPECT_EQ(listing(demo), (std::vector<std::string>{"lumora.sqlite", "rechnung.docx"}));
}

// User 7 at 19 % without discount; invoice 3 dated 15.01.2026; deadline 21 days, 24 cm from
// the top, right-aligned.
constexpr const char* kHostRows = R"(
INSERT INTO TempDoc (ID_Benutzer, ID_Auftragsnummer, AbschlagAbsolut, AbschlagProzent,
  Zahlungsziel, Mehrwertsteuersatz, Mehrwertsteuer, MwStErmäßigt, Rabatt)
  VALUES (7, 4711, 0, 100, 1, 190, 190, 70, 0);
INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Rechnungsart, ID_Auftragsnummer)
  VALUES (3, '2026-0815', 1, 4711);
INSERT INTO Termine VALUES (1, 3, 8, '2026-01-15');
INSERT INTO Version VALUES (1, 'Zahlbar ohne Abzug bis <21>.', 24.0, 2);
)";

TEST_F(TarvexCli, EachTemplateGetsFeeTableTotalsRecordDeadlineThenReadsBack) {
    // The totals go to the first start marker, the fees to the last.
    for (const auto& [file, totalsBeforeFees] : {std::pair{"template-basic.docx", false},
                                                 {"template-two-starts.docx", true},
                                                 {"template-image.docx", false},
                                                 {"template-edge.docx", false},
                                                 {"template-no-start.docx", false}}) {
        SCOPED_TRACE(file);
        fs::create_directory(dir() / file);
        const std::string doc = copyTemplate(file, dir() / file).string();
        const std::string db = schemaDatabase(dir() / file, kHostRows, "host.sqlite").string();
        const std::vector<std::string> open = {"show", "0",      "--db", db,           "--doc",
                                               doc,    "--user", "7",    "--rechnung", "3"};
        auto with = [&](std::vector<std::string> more) {
            more.insert(more.begin(), open.begin(), open.end());
            return more;
        };

        // 60 points in the three tiers, 3 marked points, land value 80 €/m² (factor 1,5).
        CliResult r = tarvex(with({"-e", "click optNr(1)", "-e", "type mskAGPSohne 60", "-e",
                                   "type mskAGP 3", "-e", "type mskBoden 80", "-e", "ok"}));
        ASSERT_EQ(r.exitCode, 0) << r.err;

        const json d = dump(doc);
        const auto fees = tablesTagged(d, "TARVEX_5");
        ASSERT_EQ(fees.size(), 1u);
        EXPECT_NE(cell(fees[0], 0, 0).find("30.6.1.2"), std::string::npos);
        EXPECT_EQ(cell(fees[0], 2, 2) + "/" + cell(fees[0], 3, 2) + "/" + cell(fees[0], 4, 2),
                  "25/25/10");
        // Each cell of the dump has exactly its text, its comments and whether it is bold.
        EXPECT_EQ(
            fees[0]["rows"][3][4],
            (json{{"text", "2.125,00 €"}, {"comments", json::array({"no"})}, {"bold", false}}));
        expectTotals(d, 798750);  // VAT 1.517,63
        EXPECT_EQ(tableIndex(d, "RE_Summe") < tableIndex(d, "TARVEX_5"), totalsBeforeFees);
        // The template's own table is left where and as it was.
        ASSERT_EQ(d["tables"].size(), 3u);
        EXPECT_EQ(cell(d["tables"][0], 0, 0), "Auftrag");
        EXPECT_EQ(cell(d["tables"][0], 2, 1), "112/3");

        EXPECT_EQ(queryText(db,
                            "SELECT NettoRechnung, Brutto, MehrwertsteuerFreierbetrag, "
                            "Mehrwertsteuersatz FROM Rechnung"),
                  "798750|950513|0|190");
        const json box = shape(d, "Zahlungsziel");
        ASSERT_FALSE(box.empty());
        EXPECT_NE(box["text"].get<std::string>().find("05.02.2026"), std::string::npos)
            << box.dump();
        EXPECT_EQ(box["alignment"], "right");
        EXPECT_NEAR(box["top_pt"].get<double>(), 24.0 / 2.54 * 72.0, 0.1);

        // Reopened, the table selection dialog offers the table as the first one.
        const std::string saved = readFile(doc);
        r = tarvex(with({"--wahl", "1", "-e", "print"}));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const auto states = printed(r.out);
        ASSERT_EQ(states.size(), 1u) << r.out;
        const json& c = states[0]["controls"];
        EXPECT_EQ(states[0]["form"], "frmKat5");
        EXPECT_EQ(c["optNr(1)"]["value"], true);
        EXPECT_EQ(c["optNr(0)"]["value"], false);
        std::string read;
        for (const char* field : {"mskAGPo", "mskAGP26o", "mskAGP51o", "mskAGP", "mskBoden"})
            read += trim(c[field]["text"]) + "/";
        EXPECT_EQ(read, "25/25/10/3/80/");
        EXPECT_EQ(c["lblFaktor"]["caption"], "1,5");
        EXPECT_EQ(trim(c["lblSumme"]["caption"]), "7.987,50");
        EXPECT_TRUE(readFile(doc) == saved) << "a run without OK writes nothing";
    }
}

}  // namespace
}  // namespace tarvex::e2e
