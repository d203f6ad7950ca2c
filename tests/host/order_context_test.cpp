// The order context is checked before Show: a TempDoc row the plug-in would read as 0, or
// as an amount no office means, is refused with a German sentence and nothing is written.

#include "host_fixture.h"

namespace tarvex::host {
namespace {

struct Context {
    const char* name;
    const char* sql;      // run on the fixture's database before the session
    const char* message;  // part of the refusal; "" when the row is accepted
};

void PrintTo(const Context& c, std::ostream* out) { *out << c.name; }

class OrderContext : public HostTest, public ::testing::WithParamInterface<Context> {};

TEST_P(OrderContext, IsRefusedBeforeShowWithNothingChanged) {
    const Context& c = GetParam();
    testing::runSql(database, c.sql);
    HostSession session;
    open(session);
    if (!*c.message) {
        EXPECT_NO_THROW(session.checkOrderContext(kUser));
        return;
    }
    try {
        session.show(0, kUser, kClient);
        FAIL() << "accepted";
    } catch (const HostError& e) {
        EXPECT_EQ(e.outcome(), Outcome::BadInput);
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(session.inTransaction());
    EXPECT_TRUE(invoiceUnchanged());
    EXPECT_EQ(netAmount(), "0");
}

INSTANTIATE_TEST_SUITE_P(
    TempDoc, OrderContext,
    ::testing::Values(
        Context{"NoRowForTheUser", "DELETE FROM TempDoc", "kein Auftrag"},
        Context{"TextDiscount", "UPDATE TempDoc SET Rabatt = 'zehn'", "keine Zahl"},
        Context{"NegativeDiscount", "UPDATE TempDoc SET Rabatt = -1", "Rabatt = -1"},
        Context{"DiscountBeyond16Bits", "UPDATE TempDoc SET Rabatt = 70000", "zu groß"},
        Context{"NegativeAdvanceShare", "UPDATE TempDoc SET AbschlagProzent = -1",
                "AbschlagProzent = -1"},
        Context{"AdvanceShareAbove100", "UPDATE TempDoc SET AbschlagProzent = 101",
                "AbschlagProzent = 101"},
        Context{"NegativeAdvance", "UPDATE TempDoc SET AbschlagAbsolut = -1",
                "AbschlagAbsolut = -1"},
        Context{"AdvanceBeyondWhatTheRecordHolds", "UPDATE TempDoc SET AbschlagAbsolut = 1e30",
                "AbschlagAbsolut"},
        Context{"VatRateAbove100Percent", "UPDATE TempDoc SET Mehrwertsteuersatz = 1010",
                "Mehrwertsteuersatz = 1010"},
        Context{"TextDeadlineFlag", "UPDATE TempDoc SET Zahlungsziel = 'ja'", "keine Zahl"},
        Context{"MissingColumn", "ALTER TABLE TempDoc DROP COLUMN Rabatt", "Rabatt"},
        // Null and "" mean 0 or false; numbers in text are read as the plug-in reads them.
        Context{"NullAndEmptyAccepted",
                "UPDATE TempDoc SET Rabatt = NULL, AbschlagAbsolut = '', Zahlungsziel = NULL,"
                " Mehrwertsteuersatz = '190'",
                ""},
        Context{"FullVatAndFullAdvanceAccepted",
                "UPDATE TempDoc SET Mehrwertsteuersatz = 1000, AbschlagProzent = 100,"
                " AbschlagAbsolut = 21474836.47",
                ""}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tarvex::host
