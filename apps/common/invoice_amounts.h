#pragma once
// The amounts OK stores in the invoice record, read, compared and written by the host: for
// the commit journal, for completing an interrupted save, and for telling whether a commit
// that reported a failure took effect after all. Also the database's write lock, waited for.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/variant/variant.h"

namespace tarvex::dao {
class Database;
}

namespace tarvex::host {

using Amounts = std::vector<std::pair<std::string, Variant>>;

// The fields of the invoice record that OK writes.
const std::vector<std::string>& writtenFields();
// The record's fields that OK writes, with their current values. Raises tarvex::Error;
// error 3021 when the record is gone.
Amounts readAmounts(dao::Database& database, std::int32_t invoice);
// Whether the record holds exactly these values.
bool holdsAmounts(dao::Database& database, std::int32_t invoice, const Amounts& amounts);
// Writes the values into the record (inside the caller's transaction).
void writeAmounts(dao::Database& database, std::int32_t invoice, const Amounts& amounts);

// Begins the exclusive transaction, waiting up to `patience` for other connections in short
// slices; `waitNotice` (when set) hears true during the wait (repeatedly) and false when it
// ends. Raises the engine's error (3260 when the wait was in vain).
void beginWriting(dao::Database& database, std::chrono::milliseconds patience,
                  const std::function<void(bool)>& waitNotice);

}  // namespace tarvex::host
