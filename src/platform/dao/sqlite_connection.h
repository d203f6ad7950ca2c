#pragma once
// An open SQLite connection shared by a database object and the record sets opened on it, so
// that record sets stay usable after the host releases the database object.

#include <sqlite3.h>

#include <memory>
#include <string>

namespace tarvex::dao {

struct Connection {
    explicit Connection(sqlite3* handle, std::string file) : db(handle), path(std::move(file)) {}
    ~Connection() { sqlite3_close_v2(db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* db;
    std::string path;
};

// Finalizes a statement when it goes out of scope.
struct Statement {
    sqlite3_stmt* handle = nullptr;
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(handle); }
};

}  // namespace tarvex::dao
