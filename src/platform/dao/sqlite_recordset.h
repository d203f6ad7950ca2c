#pragma once
// Record sets over SQLite: the rows of a result read when opened, a current position, and an
// edit buffer written back to the row's table on update.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dao/dao.h"
#include "platform/dao/sqlite_connection.h"
#include "platform/dao/sqlite_values.h"

namespace tarvex::dao {

struct ColumnInfo {
    std::string name;          // name in the result
    std::string declaredType;  // of the origin column, "" for expressions
    std::string table;         // origin table, "" for expressions
    std::string origin;        // origin column name
    bool dateColumn = false;
};

class SqliteRecordset final : public Recordset,
                              public std::enable_shared_from_this<SqliteRecordset> {
  public:
    // Runs the prepared statement to its end and keeps the rows.
    SqliteRecordset(std::shared_ptr<Connection> connection, sqlite3_stmt* statement,
                    RecordsetType type);

    bool bof() const override { return rows_.empty(); }
    bool eof() const override { return position_ >= rows_.size(); }
    void moveFirst() override;
    void moveNext() override;
    int recordCount() const override { return static_cast<int>(rows_.size()); }
    std::shared_ptr<Fields> fields() const override;
    void edit() override;
    void update() override;
    void cancelUpdate() override { edited_.reset(); }
    bool editing() const override { return edited_.has_value(); }

    // Used by the field objects.
    const std::vector<ColumnInfo>& columns() const { return columns_; }
    Variant valueAt(std::size_t column) const;
    void assign(std::size_t column, const Variant& value);

  private:
    struct Edit {
        std::vector<Variant> values;
        std::vector<bool> changed;
    };

    void requireCurrent() const;
    // Key columns (indexes into columns_) that identify a row of the origin table.
    std::vector<std::size_t> keyColumns() const;
    void writeBack();

    std::shared_ptr<Connection> connection_;
    RecordsetType type_;
    std::vector<ColumnInfo> columns_;
    std::vector<std::vector<RawValue>> rows_;
    std::size_t position_ = 0;
    std::string table_;  // the one origin table of all columns, "" when not updatable
    std::optional<Edit> edited_;
};

}  // namespace tarvex::dao
