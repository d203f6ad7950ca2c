// A Baulandumlegung (30.2) through `tarvex show 3`: the worked example with "G, sonstige
// Sondergebiete", the reduction and a share of 500, confirmed with OK; the invoice reopened,
// read back and written again unchanged; then a 30.6 and a 30.1 table beside it and the 30.2
// table edited in place, the totals always adding exactly the unmarked amounts of all tables.
#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

// User 7 at 19 %, invoice 3.
constexpr const char* kHost = R"(
INSERT INTO TempDoc (ID_Benutzer, ID_Auftragsnummer, AbschlagAbsolut, AbschlagProzent,
  Zahlungsziel, Mehrwertsteuersatz, Mehrwertsteuer, MwStErmäßigt, Rabatt)
  VALUES (7, 4711, 0, 100, 0, 190, 190, 70, 0);
INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Rechnungsart, ID_Auftragsnummer)
  VALUES (3, '2026-0815', 1, 4711);
)";

// A table's cells as text without blanks (a count may come back right-aligned) and comments.
json ohneLeerzeichen(const json& table) {
    json rows = json::array();
    for (const auto& row : table["rows"]) {
        json cells = json::array();
        for (const auto& c : row) {
            std::string text = c["text"];
            std::erase(text, ' ');
            cells.push_back({text, c["comments"]});
        }
        rows.push_back(cells);
    }
    return rows;
}

class Baulandumlegung : public TarvexCli {
  protected:
    void SetUp() override {
        doc = copyTemplate("template-basic.docx", dir()).string();
        db = schemaDatabase(dir(), kHost, "host.sqlite").string();
    }
    CliResult show(const char* index, std::vector<std::string> more) {
        std::vector<std::string> args = {"show", index,    "--db", db,           "--doc",
                                         doc,    "--user", "7",    "--rechnung", "3"};
        args.insert(args.end(), more.begin(), more.end());
        return tarvex(args);
    }
    std::string netto() {
        return queryText(db, "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 3");
    }
    std::string summe(const json& d) {
        const auto totals = tablesTagged(d, "RE_Summe");
        if (totals.size() != 1u) return "keine Summentabelle";
        const json* row = rowWith(totals[0], 1, "Summe");
        return row ? trim((*row)[3]["text"]) : "keine Summe";
    }

    std::string doc, db;
};

TEST_F(Baulandumlegung, WrittenReadBackRewrittenAndEditedBeside301And306Tables) {
    CliResult r = show("3", {"-e", "type grdAusFlur \"Flst. 12\\nFlst. 13\"",
                             "-e", "type mskAusFlur 3",
                             "-e", "type mskGesamt 60",
                             "-e", "type mskGP 20",
                             "-e", "type mskAGP 12",
                             "-e", "type mskBoden 250",
                             "-e", "click sevOption2",
                             "-e", "click chkErmäßigung",
                             "-e", "type mskBezug 500,",
                             "-e", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(lumoLog(), "");
    json d = dump(doc);
    auto fees = tablesTagged(d, "TARVEX_2");
    ASSERT_EQ(fees.size(), 1u);
    EXPECT_EQ(fees[0]["rows"].size(), 33u);
    EXPECT_EQ(cell(fees[0], 22, 4), "102.262,50 €");
    EXPECT_EQ(cell(fees[0], 24, 4), "-20.452,50 €");
    EXPECT_EQ(cell(fees[0], 26, 4), "40.905,00 €");
    // Only the share enters the totals: fee and reduction carry the mark.
    EXPECT_EQ(fees[0]["rows"][22][4]["comments"], json::array({"no"}));
    EXPECT_EQ(fees[0]["rows"][24][4]["comments"], json::array({"no"}));
    EXPECT_EQ(summe(d), "40.905,00 €");
    EXPECT_EQ(netto(), "4090500");
    const json geschrieben = ohneLeerzeichen(fees[0]);

    // Reopened: the dialog's first entry is the table; the fields come back, OK writes it again.
    r = show("3", {"--wahl", "1", "-e", "print", "-e", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto states = printed(r.out);
    ASSERT_EQ(states.size(), 1u) << r.out;
    const json& c = states[0]["controls"];
    EXPECT_EQ(c["grdAusFlur"]["text"], "Flst. 12\r\nFlst. 13");
    std::string gelesen;
    for (const char* f : {"mskAusFlur", "mskGesamt", "mskNeuFlur", "mskNeuFlur51", "mskGP",
                          "mskAGP", "mskBoden", "mskBezug"})
        gelesen += trim(c[f]["text"]) + "/";
    EXPECT_EQ(gelesen, "3/60/50/10/20/12/250/500,00/");
    EXPECT_EQ(c["lblDichtefaktor"]["caption"], "3,0");
    EXPECT_EQ(c["sevOption2"]["value"], true);
    EXPECT_EQ(c["chkErmäßigung"]["value"], 1);
    EXPECT_EQ(trim(c["lblSumme"]["caption"]), "102.262,50");
    d = dump(doc);
    fees = tablesTagged(d, "TARVEX_2");
    ASSERT_EQ(fees.size(), 1u);
    EXPECT_EQ(ohneLeerzeichen(fees[0]), geschrieben);
    EXPECT_EQ(summe(d), "40.905,00 €");

    // A 30.6 fee of 1.150,00 and a 30.1 fee of 450,00 beside it, then the 30.2 table edited to
    // the whole fee: the totals take fee and reduction of 30.2 (81.810,00) and the other fees.
    r = show("0", {"-e", "type mskAGPSohne 10", "-e", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(summe(dump(doc)), "42.055,00 €");
    r = show("4", {"-e", "type mskAusFlur 2", "-e", "type mskBoden 50", "-e", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(summe(dump(doc)), "42.505,00 €");
    const json vorher = dump(doc);
    const int stelle = tableIndex(vorher, "TARVEX_2");
    r = show("3", {"--wahl", "1", "-e", "type mskBezug 1000,", "-e", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    d = dump(doc);
    ASSERT_EQ(tablesTagged(d, "TARVEX_2").size(), 1u);
    EXPECT_EQ(tableIndex(d, "TARVEX_2"), stelle);
    EXPECT_EQ(tablesTagged(d, "TARVEX_2")[0]["rows"].size(), 31u);
    for (const char* andere : {"TARVEX_1", "TARVEX_5"})
        EXPECT_EQ(tablesTagged(d, andere), tablesTagged(vorher, andere)) << andere;
    EXPECT_EQ(summe(d), "83.410,00 €");
    EXPECT_EQ(netto(), "8341000");
    EXPECT_EQ(lumoLog(), "");
}

}  // namespace
}  // namespace tarvex::e2e
