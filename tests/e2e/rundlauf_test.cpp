// One worked example of each calculator window through `tarvex show` on the demo from `tarvex
// init`: OK writes the fee table with its share and the invoice record; reopened on that table,
// the window reads its fields back, and OK writes the same table again.
#include "cli_fixture.h"

namespace tarvex::e2e {
namespace {

struct Rundlauf {
    const char* name;
    const char* fenster;  // Show's index
    const char* tag;
    std::vector<std::string> eingaben;  // actions before OK
    std::size_t zeilen;
    std::vector<std::tuple<std::size_t, std::size_t, const char*>> zellen;  // 0-based, trimmed
    const char* netto;
    std::vector<std::size_t> ohneSumme;  // rows whose amount carries the "no" mark
    // Control, property and its value after the read-back: the inputs the command line passes
    // in its own way (line ends, clicks, list entries), the share and the fee; the unit round
    // trips check every field.
    std::vector<std::tuple<const char*, const char*, json>> gelesen;
};

void PrintTo(const Rundlauf& r, std::ostream* out) { *out << r.name; }

// The table's cells with their texts trimmed and runs of blanks as one: a count or a land value
// may come back aligned another way in its field.
json gestaucht(json table) {
    for (auto& row : table["rows"])
        for (auto& c : row) {
            std::string text;
            for (char z : trim(c["text"]))
                if (z != ' ' || text.back() != ' ') text += z;
            c["text"] = text;
        }
    return table;
}

class FensterRundlauf : public TarvexCli, public ::testing::WithParamInterface<Rundlauf> {};

TEST_P(FensterRundlauf, WrittenReadBackAndRewrittenUnchanged) {
    const Rundlauf& p = GetParam();
    const fs::path demo = initDemo();
    const std::string db = (demo / "lumora.sqlite").string(),
                      doc = (demo / "rechnung.docx").string();
    auto show = [&](std::vector<std::string> more, const std::vector<std::string>& aktionen) {
        std::vector<std::string> args = {"show",  p.fenster, "--db",       db,
                                         "--doc", doc,       "--rechnung", "1"};
        args.insert(args.end(), more.begin(), more.end());
        for (const auto& a : aktionen) args.insert(args.end(), {"-e", a});
        return tarvex(args);
    };

    std::vector<std::string> aktionen = p.eingaben;
    aktionen.push_back("ok");
    CliResult r = show({}, aktionen);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(lumoLog(), "");
    auto fees = tablesTagged(dump(doc), p.tag);
    ASSERT_EQ(fees.size(), 1u);
    const json erste = fees[0];
    EXPECT_EQ(erste["rows"].size(), p.zeilen);
    for (const auto& [zeile, spalte, text] : p.zellen)
        EXPECT_EQ(cell(erste, zeile, spalte), text) << "Zelle " << zeile << "," << spalte;
    // Only the share enters the totals: the amounts above it carry the mark.
    for (std::size_t zeile : p.ohneSumme)
        EXPECT_EQ(erste["rows"][zeile][4]["comments"], json::array({"no"})) << "Zeile " << zeile;
    EXPECT_EQ(queryText(db, "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1"),
              p.netto);

    r = show({"--wahl", "1"}, {"print", "ok"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto states = printed(r.out);
    ASSERT_EQ(states.size(), 1u) << r.out;
    const json& c = states[0]["controls"];
    for (const auto& [name, eigenschaft, wert] : p.gelesen) {
        // Texts compare trimmed unless the expected one has blanks at its ends.
        const json& ist = c[name][eigenschaft];
        const bool genau = !wert.is_string() || trim(wert) != wert;
        EXPECT_EQ(genau ? ist : json(trim(ist)), wert) << name << "." << eigenschaft;
    }

    fees = tablesTagged(dump(doc), p.tag);
    ASSERT_EQ(fees.size(), 1u);
    EXPECT_EQ(gestaucht(fees[0]), gestaucht(erste));
    EXPECT_EQ(queryText(db, "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1"),
              p.netto);
    EXPECT_EQ(lumoLog(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Fenster, FensterRundlauf,
    ::testing::Values(
        // 3 + 51 parcels, two further small parcels alone, 12 and 8 points, land value 50
        // (1,5): subtotal 12.610,00, fee × 1,5 × 0,7 = 13.240,50, half of it 6.620,25. Rows:
        // 20, 3 + 2 small parcels, 2 splinter, 2 share.
        Rundlauf{"Zerlegung",
                 "4",
                 "TARVEX_1",
                 {R"(type grdAusFlur "Flst. 12\nFlst. 13")", "type mskAusFlur 3",
                  "type mskGesamt 51", "type mskWeiter75 2", "type mskGP 12", "type mskAGP 8",
                  "type mskBoden 50", "click sevCheck1", "type mskBezug 500,"},
                 29,
                 {{3, 1, "Flst. 12\rFlst. 13"},
                  {7, 2, "1"},
                  {10, 4, "0,00 €"},     // the empty first small parcel
                  {12, 4, "-230,00 €"},  // the two further ones
                  {18, 4, "12.610,00 €"},
                  {28, 4, "6.620,25 €"}},
                 "662025",
                 {18, 26},
                 {{"grdAusFlur", "text", "Flst. 12\r\nFlst. 13"},
                  {"mskWeiter75", "text", "2"},
                  {"sevCheck1", "value", 1},
                  {"lblSplitter", "visible", true},
                  {"mskBezug", "text", "500,00"},
                  {"lblSumme", "caption", "13.240,50"}}},
        // 27.100,00 × 1,2 = 32.520,00, of which the client bears one half.
        Rundlauf{
            "Anlagen",
            "2",
            "TARVEX_3",
            {"type grdAusFlur 112/3, 112/4", "type mskAusFlur 2", "type mskFlurstücke 120",
             "type mskGP 10", "type mskAGP 8", "select cmbKlassifizierung 1", "type mskBezug 500,"},
            31,
            {{22, 4, "32.520,00 €"}, {24, 4, "16.260,00 €"}},
            "1626000",
            {22},
            {{"grdAusFlur", "text", "112/3, 112/4"},
             {"mskNeuFlur51", "text", "70"},
             {"mskBezug", "text", "500,00"},
             {"cmbKlassifizierung", "listindex", 1},
             {"lblFaktor", "caption", "1,2"},
             {"lblSumme", "caption", "32.520,00"}}},
        // A description over two lines, the costs written as their bracket and read back as
        // its lowest cost, 2 further groups at 720 €, a share with decimals.
        Rundlauf{"Gebaeudeaufnahme",
                 "1",
                 "TARVEX_4",
                 {"type txtGebäude \"Wohnhaus\\nGarage\"", "type mskAnzahl 12",
                  "type mskBaukosten 7500000", "click chkBereich", "type mskBezug 999,99"},
                 16,
                 {{3, 1, "Wohnhaus\rGarage"},
                  {8, 1, "zwischen 5 M€ und 10 M€"},
                  {11, 4, "1.440,00 €"},
                  {13, 4, "3.840,00 €"},
                  {15, 2, "999,99"},
                  {15, 4, "3.839,96 €"}},
                 "383996",
                 {13},
                 {{"txtGebäude", "text", "Wohnhaus\r\nGarage"},
                  {"mskAnzahl", "text", "12"},
                  {"mskBaukosten", "text", "5000001"},
                  {"chkBereich", "value", 1},
                  {"mskBezug", "text", " 999,99"},
                  {"lblSumme", "caption", "3.840,00"}}},
        // "G, sonstige Sondergebiete" (3,0) and the reduction: fee 102.262,50, reduction
        // -20.452,50, the client's half of the rest 40.905,00.
        Rundlauf{"Baulandumlegung",
                 "3",
                 "TARVEX_2",
                 {"type grdAusFlur \"Flst. 12\\nFlst. 13\"", "type mskAusFlur 3",
                  "type mskGesamt 60", "type mskGP 20", "type mskAGP 12", "type mskBoden 250",
                  "click sevOption2", "click chkErmäßigung", "type mskBezug 500,"},
                 33,
                 {{22, 4, "102.262,50 €"}, {24, 4, "-20.452,50 €"}, {26, 4, "40.905,00 €"}},
                 "4090500",
                 {22, 24},
                 {{"grdAusFlur", "text", "Flst. 12\r\nFlst. 13"},
                  {"mskNeuFlur51", "text", "10"},
                  {"mskBezug", "text", "500,00"},
                  {"lblDichtefaktor", "caption", "3,0"},
                  {"sevOption2", "value", true},
                  {"chkErmäßigung", "value", 1},
                  {"lblSumme", "caption", "102.262,50"}}}),
    [](const ::testing::TestParamInfo<Rundlauf>& fall) { return std::string(fall.param.name); });

}  // namespace
}  // namespace tarvex::e2e
