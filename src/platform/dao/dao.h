#pragma once
// The host database as the plug-in uses it: a workspace opens a database, a database opens
// record sets on a table name or a query text, a record set has a current record whose fields
// are read by name and can be changed and saved. One implementation runs on SQLite files
// (makeSqliteWorkspace); the plug-in sees only these classes.
//
// Semantics the callers rely on:
// - A record set reads all its rows when it is opened (a snapshot of the result); the current
//   record of a fresh record set is its first row. BOF and EOF are both true when it is empty.
// - Field values are Variants: Long for whole numbers that fit 32 bits (Double beyond), Double
//   for REAL, String for text, Date for ISO text in a column whose declared type names a date
//   or time, Null for NULL.
// - Assigning a value converts it to the column's declared type: INTEGER to a 32-bit whole
//   number (halves to even, error 6 beyond the range), REAL to double, TEXT to text (dates as
//   ISO text). Null stays Null.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/variant/variant.h"

namespace tarvex::dao {

// Error numbers of the database layer beyond errc::noCurrentRecord and errc::itemNotFound.
namespace daoerr {
inline constexpr int updateWithoutEdit = 3020;   // Update or assignment without Edit
inline constexpr int fileNotFound = 3024;        // database file cannot be found or opened
inline constexpr int readOnly = 3027;            // record set or database cannot be updated
inline constexpr int tooFewParameters = 3061;    // unknown column in a query
inline constexpr int syntaxError = 3075;         // query text the engine rejects
inline constexpr int tableNotFound = 3078;       // no such table or query
inline constexpr int invalidOperation = 3219;    // not a query that returns rows
inline constexpr int textAfterStatement = 3142;  // more than one statement in a query text
inline constexpr int locked = 3260;              // database locked by another connection
inline constexpr int duplicateKey = 3022;
inline constexpr int recordDeleted = 3167;  // the row being updated is gone
inline constexpr int nullInRequiredField = 3314;
inline constexpr int notADatabase = 3343;
inline constexpr int diskError = 3043;
inline constexpr int engineError = 3000;  // any other engine failure
}  // namespace daoerr

// Kinds of record set a caller may ask for. Snapshot and ForwardOnly cannot be edited; all
// kinds read their rows when opened.
enum class RecordsetType : std::int32_t {
    Default = 0,
    Table = 1,
    Dynaset = 2,
    Snapshot = 4,
    ForwardOnly = 8,
};

class Recordset;

// One column of a record set. It always refers to the record set's current record.
class Field : public Object {
  public:
    std::string typeName() const override { return "Field"; }
    // A field used as a plain value stands for its value (raises like value()).
    std::optional<Variant> defaultValue() const override { return value(); }

    virtual std::string name() const = 0;
    // The column's declared type as written in the schema ("" when none).
    virtual std::string declaredType() const = 0;
    // The value in the current record (the edited value during Edit). Error 3021 without a
    // current record.
    virtual Variant value() const = 0;
    // Assigns a value converted to the column type (see above). Error 3020 when the record set
    // is not in Edit, 3021 without a current record; conversion errors 6, 13, 94 (objects
    // without a value), and the stored value stays unchanged on any failure.
    virtual void setValue(const Variant& value) = 0;
};

// The columns of a record set, in result order.
class Fields : public Object {
  public:
    std::string typeName() const override { return "Fields"; }
    virtual int count() const = 0;
    // The field of that name, compared case-insensitively. Error 3265 when there is none.
    virtual std::shared_ptr<Field> item(const std::string& name) const = 0;
    // The field at 0-based position. Error 3265 when out of range.
    virtual std::shared_ptr<Field> item(int index) const = 0;
};

class Recordset : public Object {
  public:
    std::string typeName() const override { return "Recordset"; }

    // True when the current position lies before the first record (or there is none).
    virtual bool bof() const = 0;
    // True when the current position lies after the last record (or there is none).
    virtual bool eof() const = 0;
    // Moves to the first record. Error 3021 when there is none. Discards a pending Edit.
    virtual void moveFirst() = 0;
    // Moves to the next record (EOF after the last). Error 3021 when already at EOF.
    // Discards a pending Edit.
    virtual void moveNext() = 0;
    virtual int recordCount() const = 0;

    virtual std::shared_ptr<Fields> fields() const = 0;
    // Shorthand for fields()->item(name).
    std::shared_ptr<Field> field(const std::string& name) const { return fields()->item(name); }

    // Starts changing the current record. Error 3021 without a current record, 3027 when the
    // record set cannot be updated (snapshot or forward-only kind, or a result of several
    // tables).
    virtual void edit() = 0;
    // Writes the changed fields of the current record back in one transaction, found by the
    // table's primary key (by its original values where the result lacks the key). Error 3020
    // without Edit; an engine error leaves the stored row as it was and the edit pending.
    virtual void update() = 0;
    // Drops the pending changes of Edit.
    virtual void cancelUpdate() = 0;
    // Whether Edit is pending.
    virtual bool editing() const = 0;
};

class Database : public Object {
  public:
    std::string typeName() const override { return "Database"; }
    // The path the database was opened with.
    virtual std::string name() const = 0;
    // Opens a record set on a table name (bare or in brackets) or on the text of one SELECT
    // query (a final ";" allowed). Errors: 3078 unknown table, 3061 unknown column, 3075 other
    // rejected text, 3142 text after the statement, 3219 a statement that returns no rows;
    // the description is the engine's message.
    virtual std::shared_ptr<Recordset> openRecordset(
        const std::string& source, RecordsetType type = RecordsetType::Default) = 0;
    // Host-side transaction around everything written through this database and its record
    // sets: nothing is stored until commitTrans; rollback drops it. Engine errors as above.
    virtual void beginTrans() = 0;
    // Begins the transaction holding the database's write lock from the start: no other
    // connection writes (nor, without a write-ahead log, reads) until it ends, so that nothing
    // can block its commit. Waits up to `patience` for other connections; error 3260 after.
    virtual void beginExclusiveTrans(std::chrono::milliseconds patience) = 0;
    virtual void commitTrans() = 0;
    virtual void rollback() = 0;
};

class Workspace : public Object {
  public:
    std::string typeName() const override { return "Workspace"; }
    // Opens an existing database file shared and writable; never creates one. Error 3024 when
    // the file does not exist or cannot be opened, 3343 when it is no database.
    virtual std::shared_ptr<Database> openDatabase(const std::string& path) = 0;
};

// The workspace over SQLite files.
std::shared_ptr<Workspace> makeSqliteWorkspace();

}  // namespace tarvex::dao
