#pragma once
// The hosts' check of the order context before Show. The plug-in reads the user's TempDoc
// row and logs what it cannot use, then goes on with 0 or an earlier value: an invoice that
// says "Rechnungsbetrag 0,00 €" under a fee. Our hosts refuse such a row instead, naming the
// problem, before anything is written.

#include <cstdint>

namespace tarvex::dao {
class Database;
}

namespace tarvex::host {

// Throws HostError(BadInput) with a German sentence when the user has no TempDoc row, when a
// column the totals use is missing or holds a value the plug-in cannot read (text that is
// not a number, a number beyond its type), or one no office can mean (negative amounts or
// percentages, percentages above 100, a VAT rate above 100 %). Null and "" count as 0 or
// false. Engine failures are HostErrors as databaseProblem() words them.
void checkOrderContext(dao::Database& database, std::int32_t user);

}  // namespace tarvex::host
