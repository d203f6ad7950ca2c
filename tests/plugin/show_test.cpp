#include "plugin/show.h"

#include <map>
#include <tuple>

#include "plugin_fixture.h"

namespace tarvex {
namespace {

using testing::runSql;

// The context as name -> value, so that cases of every field type fit one table.
std::map<std::string, Variant> felder(const Auftragskontext& k) {
    return {{"Auftragsnummer", k.Auftragsnummer},
            {"MesstruppZusammenfassen", k.MesstruppZusammenfassen},
            {"Lieferschein", k.Lieferschein},
            {"AbschlagAbsolut", k.AbschlagAbsolut},
            {"AbschlagProzent", k.AbschlagProzent},
            {"Zahlungsziel", k.Zahlungsziel},
            {"Mehrwertsteuersatz", k.Mehrwertsteuersatz},
            {"Preisgruppe1", k.Preisgruppe1},
            {"Preisgruppe4", k.Preisgruppe4},
            {"Mehrwertsteuer", k.Mehrwertsteuer},
            {"MwStErmaessigt", k.MwStErmaessigt},
            {"Rabatt", k.Rabatt}};
}

// Values left by an earlier Show, to see which fields a failing read keeps.
void früheresShow() {
    auto& k = auftragskontext();
    k.Auftragsnummer = 1;
    k.MesstruppZusammenfassen = false;
    k.Zahlungsziel = false;
    k.AbschlagProzent = k.Mehrwertsteuersatz = k.Mehrwertsteuer = k.MwStErmaessigt = k.Rabatt = 99;
}

struct KontextFall {
    const char* name;
    const char* setzen;  // SET clause applied to the user's record
    const char* feld;
    Variant erwartet;
    std::size_t logEinträge;
};

// Readable in test names and failure messages.
[[maybe_unused]] void PrintTo(const KontextFall& c, std::ostream* out) { *out << c.name; }

const KontextFall kontextFälle[] = {
    {"TaxTenths", "Mehrwertsteuersatz = 190", "Mehrwertsteuersatz", std::int16_t{19}, 0},
    {"TaxSecond", "Mehrwertsteuer = 160", "Mehrwertsteuer", std::int16_t{16}, 0},
    {"TaxReduced", "MwStErmäßigt = 70", "MwStErmaessigt", std::int16_t{7}, 0},
    {"HalfUpToEven", "Mehrwertsteuersatz = 195", "Mehrwertsteuersatz", std::int16_t{20}, 0},
    {"HalfDownToEven", "Mehrwertsteuer = 185", "Mehrwertsteuer", std::int16_t{18}, 0},
    {"NullThroughReaderIsZero", "Mehrwertsteuersatz = NULL", "Mehrwertsteuersatz", std::int16_t{0},
     0},
    {"NullReadDirectlyKeepsOld", "Mehrwertsteuer = NULL", "Mehrwertsteuer", std::int16_t{99}, 1},
    {"NullNumberDirectlyKeepsOld", "ID_Auftragsnummer = NULL", "Auftragsnummer", std::int32_t{1},
     1},
    {"NullFlagThroughReaderIsFalse", "Zahlungsziel = NULL", "Zahlungsziel", false, 0},
    {"EmptyTextThroughReaderIsZero", "Rabatt = ''", "Rabatt", std::int16_t{0}, 0},
    {"EmptyTextDirectlyKeepsOld", "MwStErmäßigt = ''", "MwStErmaessigt", std::int16_t{99}, 1},
    {"EmptyTextFlagKeepsOld", "Zahlungsziel = ''", "Zahlungsziel", false, 1},
    {"TextNoNumberKeepsOld", "AbschlagProzent = 'zehn'", "AbschlagProzent", std::int16_t{99}, 1},
    {"HalfToEvenDown", "AbschlagProzent = 12.5", "AbschlagProzent", std::int16_t{12}, 0},
    {"HalfToEvenUp", "AbschlagProzent = 13.5", "AbschlagProzent", std::int16_t{14}, 0},
    {"FractionKept", "AbschlagAbsolut = 1234.56", "AbschlagAbsolut", 1234.56, 0},
    {"FlagMinusOne", "MeßtruppZusammenfassen = -1", "MesstruppZusammenfassen", true, 0},
    {"FlagOne", "Zahlungsziel = 1", "Zahlungsziel", true, 0},
    {"Overflow16KeepsOld", "Rabatt = 40000", "Rabatt", std::int16_t{99}, 1},
};

class KontextTest : public testing::PluginTest,
                    public ::testing::WithParamInterface<std::tuple<KontextFall, bool>> {
  protected:
    void SetUp() override {
        usePlainSql = std::get<1>(GetParam());
        PluginTest::SetUp();
    }
};

TEST_P(KontextTest, ReadsEachFieldOnItsOwn) {
    const KontextFall& fall = std::get<0>(GetParam());
    runSql(file, std::string("UPDATE TempDoc SET ") + fall.setzen);
    früheresShow();
    Show(7, nullptr, 0);
    EXPECT_EQ(felder(auftragskontext()).at(fall.feld), fall.erwartet);
    EXPECT_EQ(log.count(), fall.logEinträge) << log.sink().all();
    EXPECT_EQ(auftragskontext().Preisgruppe4, 4);  // a failing field stops nothing after it
}

INSTANTIATE_TEST_SUITE_P(Fälle, KontextTest,
                         ::testing::Combine(::testing::ValuesIn(kontextFälle), ::testing::Bool()),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) +
                                    (std::get<1>(param.param) ? "_PlainSql" : "_SchemaSql");
                         });

using ShowTest = testing::PluginTest;

TEST_F(ShowTest, FirstOfTwoRecordsOfTheUserCountsAndAUserNeverSetIsUserZero) {
    runSql(file, "INSERT INTO TempDoc (ID_Benutzer, ID_Auftragsnummer) VALUES (5, 9999), (0, 815)");
    Show(0, nullptr, 0);
    EXPECT_EQ(auftragskontext().Auftragsnummer, 4711);
    EXPECT_EQ(log.count(), 0u);
    sitzungsdaten().ID_Benutzer = 0;
    Show(5, nullptr, 0);
    EXPECT_EQ(auftragskontext().Auftragsnummer, 815);
}

TEST_F(ShowTest, NoRecordLogsEveryFieldAndKeepsTheContext) {
    sitzungsdaten().ID_Benutzer = 6;
    früheresShow();
    const auto vorher = felder(auftragskontext());
    Show(1, nullptr, 0);
    EXPECT_EQ(log.count(), 14u);
    EXPECT_TRUE(log.contains("Error 3021"));
    EXPECT_TRUE(log.contains("-LumDienste- Rechnung.Show"));
    EXPECT_EQ(felder(auftragskontext()), vorher);
    EXPECT_TRUE(windowSlot(1).isLoaded());
}

TEST_F(ShowTest, WithoutWorkspaceLogsEveryDatabaseStepAndStillOpensTheWindow) {
    for (std::int16_t index = 0; index <= 4; ++index) {
        sitzungsdaten().LumWorkspace.reset();
        const std::size_t vorher = log.count();
        Show(index, nullptr, 100);
        EXPECT_EQ(log.count() - vorher, 16u) << "open, query and 14 fields";
        auto& fenster = dynamic_cast<PlaceholderWindow&>(windowSlot(index));
        EXPECT_TRUE(fenster.visible());
    }
    EXPECT_EQ(auftragskontext().Auftragsnummer, 0);
    EXPECT_EQ(sitzungsdaten().hWndMDI, 100);
    // Each window became a child of the host's client window.
    EXPECT_EQ(fensterVerwaltung().calls.front().what, "SetParent");
    EXPECT_EQ(fensterVerwaltung().calls.front().value, 100);
}

TEST_F(ShowTest, IndexOutsideTheFiveOpensNothingButReadsAndKeepsRechnung) {
    auto db = dao::makeSqliteWorkspace()->openDatabase(file.string());
    for (std::int16_t index : {std::int16_t{5}, std::int16_t{-1}}) {
        auto rechnung = db->openRecordset("Rechnung");
        auftragskontext().reset();
        Show(index, rechnung, 0);
        EXPECT_EQ(auftragskontext().Auftragsnummer, 4711);
        EXPECT_EQ(sitzungsdaten().Rechnung, rechnung);
    }
    EXPECT_FALSE(anyWindowAlive());
    EXPECT_EQ(log.count(), 0u);
    // A Rechnung that is no record set is logged and not kept.
    Show(5, db, 0);
    EXPECT_EQ(sitzungsdaten().Rechnung, nullptr);
    EXPECT_EQ(log.count(), 1u);
    EXPECT_TRUE(log.contains("Error 13"));
}

// A calculator window as Show sees it, counting loads and re-activations.
struct FakeWindow final : WindowSlot {
    int* loads;
    int* activations;
    bool loaded = false;
    FakeWindow(int* l, int* a) : loads(l), activations(a) {}
    bool isLoaded() const override { return loaded; }
    void loadAndShow() override { ++*loads, loaded = true; }
    void activate() override { ++*activations; }
    bool isAlive() const override { return loaded; }
};

TEST_F(ShowTest, SecondShowOfAnOpenWindowOnlyReactivatesItButRefreshesTheContext) {
    int loads = 0, activations = 0, created = 0;
    registerWindowFactory(2, [&] {
        ++created;
        return std::make_unique<FakeWindow>(&loads, &activations);
    });
    Show(2, nullptr, 0);
    runSql(file, "UPDATE TempDoc SET Rabatt = 10");
    Show(2, nullptr, 0);
    EXPECT_EQ(std::tie(created, loads, activations), std::make_tuple(1, 1, 1));
    EXPECT_EQ(auftragskontext().Rabatt, 10);
    static_cast<FakeWindow&>(windowSlot(2)).loaded = false;  // closed with OK
    Show(2, nullptr, 0);
    EXPECT_EQ(std::tie(created, loads), std::make_tuple(1, 2));
}

}  // namespace
}  // namespace tarvex
