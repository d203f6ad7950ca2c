#include "platform/dao/sqlite_values.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/dao/sqlite_error.h"

namespace tarvex::dao {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

Affinity affinityOf(const std::string& declaredType) {
    const std::string t = upper(declaredType);
    if (has(t, "INT")) return Affinity::Integer;
    if (has(t, "CHAR") || has(t, "CLOB") || has(t, "TEXT")) return Affinity::Text;
    if (t.empty() || has(t, "BLOB")) return Affinity::Blob;
    if (has(t, "REAL") || has(t, "FLOA") || has(t, "DOUB")) return Affinity::Real;
    return Affinity::Numeric;
}

bool namesDate(const std::string& declaredType) {
    const std::string t = upper(declaredType);
    return has(t, "DATE") || has(t, "TIME");
}

RawValue readRaw(sqlite3_stmt* statement, int column) {
    RawValue raw;
    raw.type = sqlite3_column_type(statement, column);
    switch (raw.type) {
        case SQLITE_INTEGER:
            raw.integer = sqlite3_column_int64(statement, column);
            break;
        case SQLITE_FLOAT:
            raw.real = sqlite3_column_double(statement, column);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const void* bytes =
                raw.type == SQLITE_TEXT
                    ? static_cast<const void*>(sqlite3_column_text(statement, column))
                    : sqlite3_column_blob(statement, column);
            const int size = sqlite3_column_bytes(statement, column);
            if (bytes)
                raw.text.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
            break;
        }
        default:
            break;
    }
    return raw;
}

Variant toVariant(const RawValue& raw, bool dateColumn) {
    switch (raw.type) {
        case SQLITE_INTEGER:
            if (raw.integer >= std::numeric_limits<std::int32_t>::min() &&
                raw.integer <= std::numeric_limits<std::int32_t>::max())
                return Variant(static_cast<std::int32_t>(raw.integer));
            return Variant(static_cast<double>(raw.integer));
        case SQLITE_FLOAT:
            return Variant(raw.real);
        case SQLITE_TEXT:
            if (dateColumn) {
                if (auto date = parseIsoDate(raw.text)) return Variant(*date);
            }
            return Variant(raw.text);
        case SQLITE_BLOB:
            return Variant(raw.text);
        default:
            return Variant::null();
    }
}

RawValue toRaw(const Variant& v) {
    RawValue raw;
    switch (v.type()) {
        case Variant::Type::Null:
            break;
        case Variant::Type::Integer:
        case Variant::Type::Long:
        case Variant::Type::Boolean:
            raw.type = SQLITE_INTEGER;
            raw.integer = v.toLong();
            break;
        case Variant::Type::Single:
        case Variant::Type::Double:
            raw.type = SQLITE_FLOAT;
            raw.real = v.toDouble();
            break;
        case Variant::Type::Date:
            raw.type = SQLITE_TEXT;
            raw.text = isoDateText(v.toDate());
            break;
        default:
            raw.type = SQLITE_TEXT;
            raw.text = v.toString();
            break;
    }
    return raw;
}

Variant convertForColumn(const Variant& value, const std::string& declaredType) {
    const Variant v = value.resolved();
    if (v.isNull()) return v;
    if (namesDate(declaredType) && (v.type() == Variant::Type::Date || v.isString()))
        return Variant(isoDateText(v.toDate()));
    switch (affinityOf(declaredType)) {
        case Affinity::Integer:
            return Variant(v.toLong());
        case Affinity::Real:
            return Variant(v.toDouble());
        case Affinity::Text:
            if (v.type() == Variant::Type::Date) return Variant(isoDateText(v.toDate()));
            return Variant(v.toString());
        default:
            // Untyped and numeric columns keep numbers and text as they come; a flag is stored
            // as the platform's -1/0.
            if (v.type() == Variant::Type::Boolean) return Variant(v.toLong());
            if (v.type() == Variant::Type::Date) return Variant(isoDateText(v.toDate()));
            if (v.isEmpty()) return Variant::null();
            return v;
    }
}

void bindRaw(sqlite3_stmt* statement, int index, const RawValue& raw, sqlite3* db) {
    int rc = SQLITE_OK;
    switch (raw.type) {
        case SQLITE_INTEGER:
            rc = sqlite3_bind_int64(statement, index, raw.integer);
            break;
        case SQLITE_FLOAT:
            rc = sqlite3_bind_double(statement, index, raw.real);
            break;
        case SQLITE_TEXT:
            rc = sqlite3_bind_text(statement, index, raw.text.data(),
                                   static_cast<int>(raw.text.size()), SQLITE_TRANSIENT);
            break;
        case SQLITE_BLOB:
            rc = sqlite3_bind_blob(statement, index, raw.text.data(),
                                   static_cast<int>(raw.text.size()), SQLITE_TRANSIENT);
            break;
        default:
            rc = sqlite3_bind_null(statement, index);
            break;
    }
    checkSqlite(rc, db);
}

std::string isoDateText(Date date) {
    int year = 0, month = 0, day = 0;
    splitDate(date, year, month, day);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    std::string text = buffer;
    const double fraction = date.serial - std::floor(date.serial);
    const long seconds = std::lround(fraction * 86400.0);
    if (seconds > 0 && seconds < 86400) {
        std::snprintf(buffer, sizeof buffer, " %02ld:%02ld:%02ld", seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
        text += buffer;
    }
    return text;
}

std::string quoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    return out + "\"";
}

}  // namespace tarvex::dao
