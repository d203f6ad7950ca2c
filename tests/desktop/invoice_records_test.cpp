// The invoice records as the host lists them: kinds in words, dates from the invoice-date
// entries, amounts from cents without rounding.

#include "invoice_records.h"

#include <gtest/gtest.h>

#include "common/host_database.h"
#include "platform/dao/dao.h"

namespace tarvex::host {
namespace {

TEST(InvoiceRecords, ListEveryRecordWithKindDateAndAmounts) {
    testing::TempFolder folder;
    const auto file = testing::schemaDatabase(folder.path(), R"(
INSERT INTO Rechnung VALUES (7, 'G-1', 7, NULL, -1999, -2379, 0, 190);
INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Rechnungsart) VALUES (3, 'S-1', 4);
INSERT INTO Termine VALUES (1, 3, 9, '2026-01-01');
INSERT INTO Termine VALUES (2, 3, 8, '2026-02-03');
INSERT INTO Termine VALUES (3, 3, 8, '2026-01-20');
)");
    auto db = dao::makeSqliteWorkspace()->openDatabase(file.string());
    const auto list = listInvoices(*db);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].id, 3);
    EXPECT_EQ(invoiceKindText(list[0].kind), "Schlussrechnung");
    EXPECT_EQ(list[0].date, "20.01.2026") << "the earliest invoice date, not another kind";
    EXPECT_FALSE(list[0].order.has_value());
    EXPECT_EQ(list[1].number, "G-1");
    EXPECT_EQ(invoiceKindText(list[1].kind), "Gutschrift");
    EXPECT_EQ(list[1].date, "");
    EXPECT_EQ(list[1].grossCents, -2379);
}

TEST(InvoiceRecords, KindsAndEuroAmountsInWords) {
    EXPECT_EQ(invoiceKindText(5), "Abschlagsrechnung");
    EXPECT_EQ(invoiceKindText(0), "Rechnung");
    const std::pair<std::int64_t, const char*> amounts[] = {{0, "0,00 €"},
                                                            {5, "0,05 €"},
                                                            {-1999, "-19,99 €"},
                                                            {100000, "1.000,00 €"},
                                                            {123456789012, "1.234.567.890,12 €"}};
    for (const auto& [cents, text] : amounts) EXPECT_EQ(euroText(cents), text) << cents;
}

}  // namespace
}  // namespace tarvex::host
