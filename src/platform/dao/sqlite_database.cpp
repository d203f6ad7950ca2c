// Workspace and database over SQLite files.

#include <algorithm>
#include <cctype>
#include <climits>

#include "platform/dao/dao.h"
#include "platform/dao/sqlite_connection.h"
#include "platform/dao/sqlite_error.h"
#include "platform/dao/sqlite_recordset.h"
#include "platform/dao/sqlite_values.h"
#include "platform/system/file_kind.h"

namespace tarvex::dao {

namespace {

// How long a write waits for another connection (the host's) to finish its own.
constexpr int busyTimeoutMs = 2000;

std::string trimmed(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

// The table a source names when it is a bare or bracketed table name, else nullopt.
std::optional<std::string> tableNameOf(const std::string& source) {
    std::string s = trimmed(source);
    if (s.size() >= 2 && s.front() == '[' && s.back() == ']') {
        std::string inner = s.substr(1, s.size() - 2);
        if (inner.find(']') == std::string::npos) return inner;
        return std::nullopt;
    }
    if (s.empty()) return std::nullopt;
    for (char c : s)
        if (std::isspace(static_cast<unsigned char>(c)) || c == ';' || c == '(' || c == ',')
            return std::nullopt;
    return s;
}

bool onlyTerminators(const char* tail) {
    for (; tail && *tail; ++tail)
        if (*tail != ';' && !std::isspace(static_cast<unsigned char>(*tail))) return false;
    return true;
}

class SqliteDatabase final : public Database {
  public:
    explicit SqliteDatabase(std::shared_ptr<Connection> connection)
        : connection_(std::move(connection)) {}

    std::string name() const override { return connection_->path; }

    std::shared_ptr<Recordset> openRecordset(const std::string& source,
                                             RecordsetType type) override {
        sqlite3* db = connection_->db;
        std::string sql = source;
        if (auto table = tableNameOf(source)) sql = "SELECT * FROM " + quoteIdentifier(*table);
        Statement statement;
        const char* tail = nullptr;
        checkSqlite(sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()),
                                       &statement.handle, &tail),
                    db);
        if (!statement.handle) throw Error(daoerr::invalidOperation, "Ungültige Operation.");
        if (!onlyTerminators(tail))
            throw Error(daoerr::textAfterStatement,
                        "Zeichen nach dem Ende der SQL-Anweisung gefunden.");
        // A record set only reads: statements that change data never run through here.
        if (sqlite3_column_count(statement.handle) == 0 || !sqlite3_stmt_readonly(statement.handle))
            throw Error(daoerr::invalidOperation, "Ungültige Operation.");
        return std::make_shared<SqliteRecordset>(connection_, statement.handle, type);
    }

    void beginTrans() override { execute("BEGIN"); }
    void beginExclusiveTrans(std::chrono::milliseconds patience) override {
        sqlite3* db = connection_->db;
        const auto wait = std::clamp<std::chrono::milliseconds::rep>(patience.count(), 0, INT_MAX);
        sqlite3_busy_timeout(db, static_cast<int>(wait));
        const int rc = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        sqlite3_busy_timeout(db, busyTimeoutMs);
        checkSqlite(rc, db);
    }
    void commitTrans() override { execute("COMMIT"); }
    void rollback() override { execute("ROLLBACK"); }

  private:
    void execute(const char* sql) {
        checkSqlite(sqlite3_exec(connection_->db, sql, nullptr, nullptr, nullptr), connection_->db);
    }

    std::shared_ptr<Connection> connection_;
};

class SqliteWorkspace final : public Workspace {
  public:
    std::shared_ptr<Database> openDatabase(const std::string& path) override {
        // SQLite would open a fresh temporary or in-memory database for these names.
        if (path.empty() || path == ":memory:" || path.rfind("file:", 0) == 0)
            throw Error(daoerr::fileNotFound, "Datei '" + path + "' nicht gefunden.");
        // Reading a FIFO or a device would wait or never end: refused before SQLite opens it.
        if (std::string refusal = notARegularFile(path); !refusal.empty())
            throw Error(daoerr::fileNotFound, refusal + ".");
        sqlite3* handle = nullptr;
        const int rc = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        auto connection = std::make_shared<Connection>(handle, path);
        if (rc != SQLITE_OK) {
            Error error = translateSqliteError(rc, handle);
            if (error.number() == daoerr::fileNotFound)
                throw Error(daoerr::fileNotFound, "Datei '" + path + "' nicht gefunden.");
            throw error;
        }
        sqlite3_extended_result_codes(handle, 1);
        sqlite3_busy_timeout(handle, busyTimeoutMs);
        // Opening is lazy; reading the schema tells a database from any other file now.
        checkSqlite(
            sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr),
            handle);
        return std::make_shared<SqliteDatabase>(std::move(connection));
    }
};

}  // namespace

std::shared_ptr<Workspace> makeSqliteWorkspace() { return std::make_shared<SqliteWorkspace>(); }

}  // namespace tarvex::dao
