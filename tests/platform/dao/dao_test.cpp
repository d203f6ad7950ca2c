#include "platform/dao/dao.h"

#include <gtest/gtest.h>

#include "common/host_database.h"

#include "common/error_number.h"

using tarvex::testing::errorNumber;

namespace tarvex::dao {
namespace {

using tarvex::testing::runSql;

// Every case runs on the schema.sql database and on the independently made one.
class DaoTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        file = GetParam() ? tarvex::testing::schemaDatabase(folder.path())
                          : tarvex::testing::plainDatabase(folder.path());
        runSql(file, R"(
            INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Rechnungsart,
                ID_Auftragsnummer, NettoRechnung, Brutto, MehrwertsteuerFreierbetrag,
                Mehrwertsteuersatz) VALUES (1, 'R-1', 5, 77, 10000, 11900, 0, 190),
                                           (2, 'R-2', 4, 77, 0, 0, 0, 0);
            INSERT INTO Termine (ID_Rechnungsnummer, ID_Terminart, Datum)
                VALUES (1, 8, '2011-03-10'), (1, 3, '2011-01-02');
            INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuer) VALUES (5, NULL);)");
        db = makeSqliteWorkspace()->openDatabase(file.string());
    }
    Variant fresh(const std::string& query, const std::string& field) {
        auto rs = makeSqliteWorkspace()->openDatabase(file.string())->openRecordset(query);
        return rs->field(field)->value();
    }

    tarvex::testing::TempFolder folder;
    std::filesystem::path file;
    std::shared_ptr<Database> db;
};

TEST_P(DaoTest, QueryTextsOfThePlugInRunUnchanged) {
    auto tempDoc = db->openRecordset("SELECT * FROM TempDoc WHERE ID_Benutzer = 5");
    EXPECT_FALSE(tempDoc->eof());
    EXPECT_TRUE(tempDoc->field("Mehrwertsteuer")->value().isNull());
    EXPECT_EQ(tempDoc->field("MWSTERMÄßIGT")->name(), "MwStErmäßigt");  // caseless, umlauts too

    auto termine = db->openRecordset(
        "SELECT ID_Terminart, ID_Rechnungsnummer, Datum From Termine WHERE (((ID_Terminart)=8) "
        "AND ((ID_Rechnungsnummer)=1));",
        RecordsetType::ForwardOnly);
    EXPECT_EQ(termine->field("Datum")->value(), Variant(makeDate(2011, 3, 10)));
    auto bracketed = db->openRecordset(
        "SELECT [Termine].[Datum] FROM [Termine] WHERE [Termine].[ID_Terminart] = 8;");
    EXPECT_EQ(bracketed->recordCount(), 1);
    EXPECT_EQ(db->openRecordset("Version")->recordCount(), 0);
    EXPECT_EQ(db->openRecordset("[Rechnung]", RecordsetType::Dynaset)->recordCount(), 2);
}

TEST_P(DaoTest, PositionAndFailuresWithoutCurrentRecord) {
    auto rs = db->openRecordset(
        "SELECT * FROM Rechnung WHERE ID_Auftragsnummer = 77 AND Rechnungsart = 5");
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->field("Brutto")->value(), Variant(std::int32_t{11900}));
    auto field = rs->field("Rechnungsnummer");
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(errorNumber([&] { field->value(); }), errc::noCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->moveNext(); }), errc::noCurrentRecord);
    rs->moveFirst();
    EXPECT_EQ(field->value(), Variant("R-1"));  // a field follows the current record

    auto none = db->openRecordset("SELECT * FROM TempDoc WHERE ID_Benutzer = 0");
    EXPECT_TRUE(none->bof() && none->eof());
    EXPECT_EQ(errorNumber([&] { none->field("Rabatt")->value(); }), errc::noCurrentRecord);
    EXPECT_EQ(errorNumber([&] { none->moveFirst(); }), errc::noCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->field("Gibtsnicht"); }), errc::itemNotFound);
}

TEST_P(DaoTest, RejectedSourcesRaiseNumberedErrorsWithTheEnginesMessage) {
    try {
        db->openRecordset("SELECT * FROM Fehlt WHERE ID = 1");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), daoerr::tableNotFound);
        EXPECT_NE(e.description().find("no such table: Fehlt"), std::string::npos);
    }
    EXPECT_EQ(errorNumber([&] { db->openRecordset("Fehlt"); }), daoerr::tableNotFound);
    EXPECT_EQ(errorNumber([&] { db->openRecordset("SELECT Gibtsnicht FROM Rechnung"); }),
              daoerr::tooFewParameters);
    EXPECT_EQ(errorNumber([&] { db->openRecordset("SELEKT *"); }), daoerr::syntaxError);
    EXPECT_EQ(errorNumber([&] { db->openRecordset("SELECT 1; DELETE FROM Rechnung"); }),
              daoerr::textAfterStatement);
    EXPECT_EQ(errorNumber([&] { db->openRecordset("DELETE FROM Rechnung"); }),
              daoerr::invalidOperation);
    EXPECT_EQ(db->openRecordset("Rechnung")->recordCount(), 2);
}

struct Assignment {
    const char* field;
    Variant assigned;
    Variant stored;  // as read back through a fresh connection
};

TEST_P(DaoTest, EditAndUpdatePersistWithTheColumnsType) {
    const Assignment cases[] = {
        {"NettoRechnung", Variant(12.5), Variant(std::int32_t{12})},
        {"Brutto", Variant(13.5), Variant(std::int32_t{14})},
        {"MehrwertsteuerFreierbetrag", Variant("1.234,5"), Variant(std::int32_t{1234})},
        {"Mehrwertsteuersatz", Variant(std::int16_t{190}), Variant(std::int32_t{190})},
        {"Rechnungsnummer", Variant(2011.5), Variant("2011,5")},
    };
    auto rs = db->openRecordset("SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 2",
                                RecordsetType::Dynaset);
    rs->edit();
    for (const auto& c : cases) rs->field(c.field)->setValue(c.assigned);
    rs->update();
    for (const auto& c : cases) {
        EXPECT_EQ(rs->field(c.field)->value(), c.stored) << c.field;
        EXPECT_EQ(fresh("SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 2", c.field), c.stored)
            << c.field;
    }
    EXPECT_EQ(fresh("SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 1", "Brutto"),
              Variant(std::int32_t{11900}));
}

TEST_P(DaoTest, FailedAssignmentOrUpdateLeavesTheRowAsItWas) {
    auto rs = db->openRecordset("SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 1");
    EXPECT_EQ(errorNumber([&] { rs->field("Brutto")->setValue(Variant(1.0)); }),
              daoerr::updateWithoutEdit);
    rs->edit();
    EXPECT_EQ(errorNumber([&] { rs->field("Brutto")->setValue(Variant(3e9)); }), errc::overflow);
    EXPECT_EQ(errorNumber([&] { rs->field("Brutto")->setValue(Variant("zwölf")); }),
              errc::typeMismatch);
    EXPECT_EQ(rs->field("Brutto")->value(), Variant(std::int32_t{11900}));

    rs->field("NettoRechnung")->setValue(Variant(std::int32_t{1}));
    rs->field("Brutto")->setValue(Variant::null());  // NOT NULL in both schemas
    EXPECT_EQ(errorNumber([&] { rs->update(); }), daoerr::nullInRequiredField);
    EXPECT_TRUE(rs->editing());
    EXPECT_EQ(fresh("Rechnung", "NettoRechnung"), Variant(std::int32_t{10000}));

    rs->field("Brutto")->setValue(Variant(std::int32_t{2}));
    rs->update();
    EXPECT_EQ(fresh("Rechnung", "NettoRechnung"), Variant(std::int32_t{1}));
}

TEST_P(DaoTest, ReadOnlyResultsRefuseEdit) {
    EXPECT_EQ(errorNumber([&] { db->openRecordset("Rechnung", RecordsetType::Snapshot)->edit(); }),
              daoerr::readOnly);
    EXPECT_EQ(errorNumber([&] { db->openRecordset("SELECT count(*) AS n FROM Rechnung")->edit(); }),
              daoerr::readOnly);
    EXPECT_EQ(errorNumber([&] { db->openRecordset("Rechnung")->update(); }), daoerr::updateWithoutEdit);
}

INSTANTIATE_TEST_SUITE_P(BothSchemas, DaoTest, ::testing::Values(true, false),
                         [](const auto& param) { return param.param ? "SchemaSql" : "PlainSql"; });

}  // namespace
}  // namespace tarvex::dao
