// A Zerlegung calculated through `tarvex show`: multi-line parcel lists typed with "\n",
// further small parcels without a first one, the splinter reduction and a share; then the
// invoice reopened, the window read back from the table, and OK writing the same table again.
#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

constexpr const char* kHostRows = R"(
INSERT INTO TempDoc (ID_Benutzer, ID_Auftragsnummer, AbschlagAbsolut, AbschlagProzent,
  Zahlungsziel, Mehrwertsteuersatz, Mehrwertsteuer, MwStErmäßigt, Rabatt)
  VALUES (5, 4711, 0, 100, 0, 190, 190, 70, 0);
INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Mehrwertsteuersatz)
  VALUES (1, '2026-0815', 190);
)";

TEST_F(TarvexCli, ZerlegungWithListsIsWrittenReadBackAndRewrittenUnchanged) {
    const std::string doc = copyTemplate("template-basic.docx", dir()).string();
    const std::string db = schemaDatabase(dir(), kHostRows, "host.sqlite").string();
    const std::vector<std::string> open = {"show", "4",      "--db", db,           "--doc",
                                           doc,    "--user", "5",    "--rechnung", "1"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), open.begin(), open.end());
        return more;
    };

    // 3 + 51 parcels, two further small parcels alone, 12 and 8 points, land value 50 (1,5):
    // subtotal 12.610,00, fee × 1,5 × 0,7 = 13.240,50, half of it 6.620,25.
    CliResult r =
        tarvex(with({"-e", "type mskAusFlur 3",  "-e", R"(type grdAusFlur "Flst. 12\nFlst. 13")",
                     "-e", "type mskGesamt 51",  "-e", "type mskWeiter75 2",
                     "-e", "type mskGP 12",      "-e", "type mskAGP 8",
                     "-e", "type mskBoden 50",   "-e", "click sevCheck1",
                     "-e", "type mskBezug 500,", "-e", "ok"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(lumoLog(), "");

    const json first = dump(doc);
    const auto fees = tablesTagged(first, "TARVEX_1");
    ASSERT_EQ(fees.size(), 1u);
    const json& t = fees[0];
    EXPECT_EQ(t["rows"].size(), 29u);  // 20, 3 + 2 small parcels, 2 splinter, 2 share
    EXPECT_EQ(cell(t, 3, 1), "Flst. 12\rFlst. 13");
    EXPECT_EQ(cell(t, 7, 2), "1");
    EXPECT_EQ(cell(t, 10, 4), "0,00 €");     // the empty first small parcel
    EXPECT_EQ(cell(t, 12, 4), "-230,00 €");  // the two further ones
    EXPECT_EQ(cell(t, 18, 4), "12.610,00 €");
    EXPECT_EQ(cell(t, 28, 4), "6.620,25 €");
    EXPECT_EQ(queryText(db, "SELECT NettoRechnung FROM Rechnung"), "662025");

    r = tarvex(with({"--wahl", "1", "-e", "print"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto states = printed(r.out);
    ASSERT_EQ(states.size(), 1u) << r.out;
    const json& c = states[0]["controls"];
    EXPECT_EQ(states[0]["form"], "frmKat1");
    EXPECT_EQ(c["grdAusFlur"]["text"], "Flst. 12\r\nFlst. 13");
    std::string read;
    for (const char* field : {"mskAusFlur", "mskGesamt", "mskNeuFlur", "mskNeuFlur51",
                              "mskGesamt75", "mskWeiter75", "mskGP", "mskAGP", "mskBoden"})
        read += trim(c[field]["text"]) + "/";
    EXPECT_EQ(read, "3/51/50/1//2/12/8/50/");
    EXPECT_EQ(c["sevCheck1"]["value"], 1);
    EXPECT_EQ(c["lblSplitter"]["visible"], true);
    EXPECT_EQ(trim(c["mskBezug"]["text"]), "500,00");
    EXPECT_EQ(trim(c["lblSumme"]["caption"]), "13.240,50");

    r = tarvex(with({"--wahl", "1", "-e", "ok"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto again = tablesTagged(dump(doc), "TARVEX_1");
    ASSERT_EQ(again.size(), 1u);
    // Count cells may place their blanks differently once read back; nothing else changes.
    auto squeezed = [](json table) {
        for (auto& row : table["rows"])
            for (auto& cellJson : row) {
                std::string text = cellJson["text"];
                std::erase(text, ' ');
                cellJson["text"] = text;
            }
        return table;
    };
    EXPECT_EQ(squeezed(again[0]), squeezed(t));
    EXPECT_EQ(queryText(db, "SELECT NettoRechnung FROM Rechnung"), "662025");
    EXPECT_EQ(lumoLog(), "");
}

}  // namespace
}  // namespace tarvex::e2e
