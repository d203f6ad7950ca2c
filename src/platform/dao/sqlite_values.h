#pragma once
// Values between SQLite and Variants: how a stored value reads, how an assigned value is
// converted for a column's declared type, and how a value is bound to a statement.

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "platform/variant/variant.h"

namespace tarvex::dao {

// A stored value exactly as SQLite returned it, kept so that a row can be found again by its
// original values.
struct RawValue {
    int type = SQLITE_NULL;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB, SQLITE_NULL
    std::int64_t integer = 0;
    double real = 0.0;
    std::string text;  // text and blob bytes
};

enum class Affinity { Integer, Text, Blob, Real, Numeric };

// SQLite's affinity rules applied to a declared type.
Affinity affinityOf(const std::string& declaredType);
// Whether the declared type names a date or time ("DATE", "DATETIME", "TIMESTAMP").
bool namesDate(const std::string& declaredType);

RawValue readRaw(sqlite3_stmt* statement, int column);
// The Variant a stored value reads as (see dao.h); ISO text becomes a Date in date columns.
Variant toVariant(const RawValue& raw, bool dateColumn);
// The stored form of an already converted value.
RawValue toRaw(const Variant& converted);
// Converts an assigned value for a column of the declared type. Errors 6, 13, 94.
Variant convertForColumn(const Variant& value, const std::string& declaredType);
void bindRaw(sqlite3_stmt* statement, int index, const RawValue& raw, sqlite3* db);

// "YYYY-MM-DD", with " hh:mm:ss" when the date has a time of day.
std::string isoDateText(Date date);
// The name as an SQL identifier in double quotes.
std::string quoteIdentifier(const std::string& name);

}  // namespace tarvex::dao
