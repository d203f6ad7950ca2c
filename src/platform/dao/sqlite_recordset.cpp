#include "platform/dao/sqlite_recordset.h"

#include "platform/com/member_name.h"
#include "platform/dao/sqlite_error.h"

namespace tarvex::dao {

namespace {

std::string textOrEmpty(const char* text) { return text ? text : ""; }

class SqliteField final : public Field {
  public:
    SqliteField(std::shared_ptr<SqliteRecordset> owner, std::size_t column)
        : owner_(std::move(owner)), column_(column) {}
    std::string name() const override { return owner_->columns()[column_].name; }
    std::string declaredType() const override { return owner_->columns()[column_].declaredType; }
    Variant value() const override { return owner_->valueAt(column_); }
    void setValue(const Variant& value) override { owner_->assign(column_, value); }

  private:
    std::shared_ptr<SqliteRecordset> owner_;
    std::size_t column_;
};

class SqliteFields final : public Fields {
  public:
    explicit SqliteFields(std::shared_ptr<SqliteRecordset> owner) : owner_(std::move(owner)) {}
    int count() const override { return static_cast<int>(owner_->columns().size()); }
    std::shared_ptr<Field> item(const std::string& name) const override {
        const auto& columns = owner_->columns();
        // An exact match wins over a caseless one, so that "a" and "A" stay reachable.
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].name == name) return std::make_shared<SqliteField>(owner_, i);
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (com::sameName(columns[i].name, name))
                return std::make_shared<SqliteField>(owner_, i);
        throw Error(errc::itemNotFound);
    }
    std::shared_ptr<Field> item(int index) const override {
        if (index < 0 || index >= count()) throw Error(errc::itemNotFound);
        return std::make_shared<SqliteField>(owner_, static_cast<std::size_t>(index));
    }

  private:
    std::shared_ptr<SqliteRecordset> owner_;
};

}  // namespace

SqliteRecordset::SqliteRecordset(std::shared_ptr<Connection> connection, sqlite3_stmt* statement,
                                 RecordsetType type)
    : connection_(std::move(connection)), type_(type) {
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
        ColumnInfo column;
        column.name = textOrEmpty(sqlite3_column_name(statement, i));
        column.declaredType = textOrEmpty(sqlite3_column_decltype(statement, i));
        column.table = textOrEmpty(sqlite3_column_table_name(statement, i));
        column.origin = textOrEmpty(sqlite3_column_origin_name(statement, i));
        column.dateColumn = namesDate(column.declaredType);
        columns_.push_back(std::move(column));
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<RawValue> row;
        row.reserve(columns_.size());
        for (int i = 0; i < count; ++i) row.push_back(readRaw(statement, i));
        rows_.push_back(std::move(row));
    }
    checkSqlite(rc, connection_->db);

    // Only a result whose every column comes straight from one table can be written back.
    if (!columns_.empty()) table_ = columns_.front().table;
    for (const auto& column : columns_)
        if (column.table.empty() || column.table != table_) table_.clear();
}

void SqliteRecordset::requireCurrent() const {
    if (position_ >= rows_.size()) throw Error(errc::noCurrentRecord);
}

void SqliteRecordset::moveFirst() {
    if (rows_.empty()) throw Error(errc::noCurrentRecord);
    edited_.reset();
    position_ = 0;
}

void SqliteRecordset::moveNext() {
    requireCurrent();
    edited_.reset();
    ++position_;
}

std::shared_ptr<Fields> SqliteRecordset::fields() const {
    return std::make_shared<SqliteFields>(
        std::const_pointer_cast<SqliteRecordset>(shared_from_this()));
}

Variant SqliteRecordset::valueAt(std::size_t column) const {
    requireCurrent();
    if (edited_) return edited_->values[column];
    return toVariant(rows_[position_][column], columns_[column].dateColumn);
}

void SqliteRecordset::assign(std::size_t column, const Variant& value) {
    if (!edited_)
        throw Error(daoerr::updateWithoutEdit, "Update oder CancelUpdate ohne AddNew oder Edit.");
    requireCurrent();
    Variant converted = convertForColumn(value, columns_[column].declaredType);
    edited_->values[column] = std::move(converted);
    edited_->changed[column] = true;
}

void SqliteRecordset::edit() {
    requireCurrent();
    if (type_ == RecordsetType::Snapshot || type_ == RecordsetType::ForwardOnly || table_.empty())
        throw Error(daoerr::readOnly,
                    "Aktualisieren nicht möglich; Datenbank oder Objekt ist schreibgeschützt.");
    Edit pending;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        pending.values.push_back(toVariant(rows_[position_][i], columns_[i].dateColumn));
    pending.changed.assign(columns_.size(), false);
    edited_ = std::move(pending);
}

std::vector<std::size_t> SqliteRecordset::keyColumns() const {
    // The primary-key columns of the table, when the result holds all of them.
    Statement info;
    checkSqlite(sqlite3_prepare_v2(connection_->db,
                                   ("PRAGMA table_info(" + quoteIdentifier(table_) + ")").c_str(),
                                   -1, &info.handle, nullptr),
                connection_->db);
    std::vector<std::pair<int, std::string>> primary;
    int rc;
    while ((rc = sqlite3_step(info.handle)) == SQLITE_ROW) {
        const int pk = sqlite3_column_int(info.handle, 5);
        if (pk > 0)
            primary.emplace_back(
                pk,
                textOrEmpty(reinterpret_cast<const char*>(sqlite3_column_text(info.handle, 1))));
    }
    checkSqlite(rc, connection_->db);

    std::vector<std::size_t> key;
    for (const auto& [order, name] : primary) {
        bool found = false;
        for (std::size_t i = 0; i < columns_.size() && !found; ++i) {
            if (sqlite3_stricmp(columns_[i].origin.c_str(), name.c_str()) == 0) {
                key.push_back(i);
                found = true;
            }
        }
        if (!found) {
            key.clear();
            break;
        }
    }
    if (!primary.empty() && !key.empty()) return key;
    // Without a usable key the row is found by all its original values.
    key.clear();
    for (std::size_t i = 0; i < columns_.size(); ++i) key.push_back(i);
    return key;
}

void SqliteRecordset::update() {
    if (!edited_)
        throw Error(daoerr::updateWithoutEdit, "Update oder CancelUpdate ohne AddNew oder Edit.");
    writeBack();
    auto& row = rows_[position_];
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (edited_->changed[i]) row[i] = toRaw(edited_->values[i]);
    edited_.reset();
}

void SqliteRecordset::writeBack() {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (edited_->changed[i]) changed.push_back(i);
    if (changed.empty()) return;

    sqlite3* db = connection_->db;
    const std::vector<std::size_t> key = keyColumns();
    std::string sql = "UPDATE " + quoteIdentifier(table_) + " SET ";
    for (std::size_t n = 0; n < changed.size(); ++n)
        sql += (n ? ", " : "") + quoteIdentifier(columns_[changed[n]].origin) + " = ?";
    sql += " WHERE ";
    for (std::size_t n = 0; n < key.size(); ++n)
        sql += (n ? " AND " : "") + quoteIdentifier(columns_[key[n]].origin) + " IS ?";

    // A savepoint works whether or not the host has a transaction open on this connection.
    checkSqlite(sqlite3_exec(db, "SAVEPOINT tarvex_update", nullptr, nullptr, nullptr), db);
    try {
        Statement statement;
        checkSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement.handle, nullptr), db);
        int index = 1;
        for (std::size_t column : changed)
            bindRaw(statement.handle, index++, toRaw(edited_->values[column]), db);
        for (std::size_t column : key)
            bindRaw(statement.handle, index++, rows_[position_][column], db);
        checkSqlite(sqlite3_step(statement.handle), db);
        const int touched = sqlite3_changes(db);
        if (touched == 0) throw Error(daoerr::recordDeleted, "Der Datensatz ist gelöscht.");
        if (touched > 1)
            throw Error(daoerr::readOnly, "Der Datensatz ist nicht eindeutig bestimmbar.");
        checkSqlite(sqlite3_exec(db, "RELEASE tarvex_update", nullptr, nullptr, nullptr), db);
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO tarvex_update", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "RELEASE tarvex_update", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace tarvex::dao
