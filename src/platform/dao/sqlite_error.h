#pragma once
// The one place where SQLite's result codes become numbered tarvex::Error values.

#include <sqlite3.h>

#include <string>

#include "platform/error/error.h"

namespace tarvex::dao {

// The error for result code `rc` with SQLite's message (taken from `db` when given).
Error translateSqliteError(int rc, sqlite3* db);
// Raises translateSqliteError(rc, db) unless rc is SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
void checkSqlite(int rc, sqlite3* db);

}  // namespace tarvex::dao
