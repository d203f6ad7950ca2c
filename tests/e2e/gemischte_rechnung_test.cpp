// Invoices holding fee tables of several calculator windows, written through `tarvex show`:
// the totals (totals table, amount markers, invoice record) add exactly the unmarked amounts of
// every fee table, and reopening each window on its table through the table selection dialog
// reads every input back (one changed input gives the new amount) and edits that table in place
// without touching the others.
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

bool isFeeTable(const json& table) {
    for (const auto& row : table["rows"])
        for (const auto& c : row)
            for (const auto& comment : c["comments"])
                if (comment.get<std::string>().starts_with("TARVEX_")) return true;
    return false;
}

// The unmarked amounts of one fee table (last column, no "no" mark), in cents.
std::vector<long long> unmarked(const json& table) {
    std::vector<long long> amounts;
    for (const auto& row : table["rows"]) {
        if (row.size() < 5) continue;
        const std::string text = trim(row[4]["text"]);
        // Amounts only: the column heading "Gebühr [€]" is no amount.
        if (!text.ends_with(" €") || text.find_first_of("0123456789") == std::string::npos ||
            row[4]["comments"] == json::array({"no"}))
            continue;
        EXPECT_EQ(row[4]["comments"], json::array()) << "a fee amount with a rate mark: " << text;
        amounts.push_back(cents(text));
    }
    return amounts;
}

long long unmarkedSum(const json& doc) {
    long long sum = 0;
    for (const auto& table : doc["tables"])
        if (isFeeTable(table))
            for (long long amount : unmarked(table)) sum += amount;
    return sum;
}

class GemischteRechnung : public TarvexCli {
  protected:
    void SetUp() override {
        doc = copyTemplate("template-basic.docx", dir()).string();
        db = schemaDatabase(dir(), kHost, "host.sqlite").string();
    }

    // Opens window `index`; `wahl` answers the table selection dialog when it appears.
    void show(const char* index, const char* wahl, const std::vector<std::string>& actions) {
        std::vector<std::string> args = {"show", index,    "--db", db,           "--doc",
                                         doc,    "--user", "7",    "--rechnung", "3"};
        if (wahl) args.insert(args.end(), {"--wahl", wahl});
        for (const auto& a : actions) args.insert(args.end(), {"-e", a});
        args.insert(args.end(), {"-e", "ok"});
        const CliResult r = tarvex(args);
        ASSERT_EQ(r.exitCode, 0) << index << ": " << r.err;
    }

    // The one table tagged `tag` and its unmarked amounts.
    std::vector<long long> unmarkedOf(const json& d, const char* tag) {
        const auto tables = tablesTagged(d, tag);
        EXPECT_EQ(tables.size(), 1u) << tag;
        return tables.empty() ? std::vector<long long>{} : unmarked(tables[0]);
    }

    // The totals of `net` in the invoice and in the invoice record.
    void expectTotals(const json& d, long long net) {
        e2e::expectTotals(d, net);
        EXPECT_EQ(queryText(db, "SELECT NettoRechnung, Brutto, MehrwertsteuerFreierbetrag FROM "
                                "Rechnung WHERE ID_Rechnungsnummer = 3"),
                  std::to_string(net) + "|" + std::to_string(net + (19 * net + 50) / 100) + "|0");
    }

    std::string doc, db;
};

// 30.1: 3 source and 51 formed parcels, two further small parcels alone, 12 and 8 points,
// land value 50 (1,5), splinter reduction, share 500: half of 13.240,50.
const std::vector<std::string> kZerlegung = {
    "type mskAusFlur 3", "type grdAusFlur \"Flst. 12\\nFlst. 13\"", "type mskGesamt 51",
    "type mskWeiter75 2", "type mskGP 12", "type mskAGP 8", "type mskBoden 50",
    "click sevCheck1", "type mskBezug 500,"};
// 30.2: 3 / 60 / 20 / 12 at 250 €/m² with "W, M, SO": 57.948,75.
const std::vector<std::string> kBaulandumlegung = {
    "type grdAusFlur \"Flst. 12, 13, 14\"", "type mskAusFlur 3", "type mskGesamt 60",
    "type mskGP 20", "type mskAGP 12", "type mskBoden 250"};
// 30.6.1.1: 12 points, 4 marked, 150 €/m²: (1.140 + 100) × 2,25 + 200 = 2.990,00.
const std::vector<std::string> kGrenzfeststellung = {"type mskAGPSohne 12", "type mskAGP 4",
                                                     "type mskBoden 150"};

TEST_F(GemischteRechnung, OneTableOfEachWindowAddUpAndEachEditsOnlyItsOwnTable) {
    show("4", nullptr, kZerlegung);
    // 30.2 with the reduction and no share: fee and reduction both count.
    std::vector<std::string> bauland = kBaulandumlegung;
    bauland.push_back("click chkErmäßigung");
    show("3", nullptr, bauland);
    // 30.3: 2 / 120 / 10 / 8, first classification (1,5): 40.650,00, a quarter of it.
    show("2", nullptr,
         {"type grdAusFlur \"Flst. 201, 202\"", "type mskAusFlur 2", "type mskFlurstücke 120",
          "type mskGP 10", "type mskAGP 8", "select cmbKlassifizierung 0",
          "type mskBezug 250,"});
    // 30.4: 12 buildings at 300.000 €: 300,00 + 2 × 90,00.
    show("1", nullptr,
         {"type txtGebäude \"Reihenhausanlage\\nCarports\"", "type mskAnzahl 12",
          "type mskBaukosten 300000"});
    show("0", nullptr, kGrenzfeststellung);

    const json d = dump(doc);
    EXPECT_EQ(unmarkedOf(d, "TARVEX_1"), std::vector<long long>{662025});
    EXPECT_EQ(unmarkedOf(d, "TARVEX_2"), (std::vector<long long>{5794875, -1158975}));
    EXPECT_EQ(unmarkedOf(d, "TARVEX_3"), std::vector<long long>{1016250});
    EXPECT_EQ(unmarkedOf(d, "TARVEX_4"), std::vector<long long>{48000});
    EXPECT_EQ(unmarkedOf(d, "TARVEX_5"), std::vector<long long>{299000});
    const long long net = 662025 + 5794875 - 1158975 + 1016250 + 48000 + 299000;
    ASSERT_EQ(unmarkedSum(d), net);
    expectTotals(d, net);

    // Each window reopened on its table (the dialog's first entry) with one input changed.
    struct Edit {
        const char* index;
        const char* tag;
        std::string action;
        std::vector<long long> unmarked;
    };
    const Edit edits[] = {
        {"4", "TARVEX_1", "click sevCheck1", {945750}},  // without the 0,7: half of 18.915,00
        {"3", "TARVEX_2", "click sevOption2", {10226250, -2045250}},  // factor A 3,0
        {"2", "TARVEX_3", "select cmbKlassifizierung 2", {677500}},  // 1,0: a quarter of 27.100
        {"1", "TARVEX_4", "type mskAnzahl 6", {39000}},              // 300,00 + 90,00
        {"0", "TARVEX_5", "type mskAGP 6", {310250}},  // (1.140 + 150) × 2,25 + 200
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.tag);
        const json before = dump(doc);
        show(e.index, "1", {e.action});
        const json after = dump(doc);
        ASSERT_EQ(after["tables"].size(), before["tables"].size());
        for (const char* tag : {"TARVEX_1", "TARVEX_2", "TARVEX_3", "TARVEX_4", "TARVEX_5"}) {
            ASSERT_EQ(tablesTagged(after, tag).size(), 1u) << tag;
            EXPECT_EQ(tableIndex(after, tag), tableIndex(before, tag)) << tag;
            if (std::string(tag) != e.tag) {
                EXPECT_EQ(tablesTagged(after, tag), tablesTagged(before, tag)) << tag;
            }
        }
        EXPECT_EQ(unmarkedOf(after, e.tag), e.unmarked);
        expectTotals(after, unmarkedSum(after));
    }
    EXPECT_EQ(unmarkedSum(dump(doc)), 945750 + 10226250 - 2045250 + 677500 + 39000 + 310250);
    EXPECT_EQ(lumoLog(), "") << "reading the tables back logs nothing";
}

}  // namespace
}  // namespace tarvex::e2e
