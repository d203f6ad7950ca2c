#include "platform/dao/sqlite_error.h"

#include "platform/dao/dao.h"

namespace tarvex::dao {

namespace {

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

int numberFor(int rc, const std::string& message) {
    switch (rc & 0xFF) {
        case SQLITE_ERROR:
            if (startsWith(message, "no such table")) return daoerr::tableNotFound;
            if (startsWith(message, "no such column")) return daoerr::tooFewParameters;
            return daoerr::syntaxError;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return daoerr::locked;
        case SQLITE_CANTOPEN:
            return daoerr::fileNotFound;
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return daoerr::notADatabase;
        case SQLITE_READONLY:
            return daoerr::readOnly;
        case SQLITE_CONSTRAINT:
            if (rc == SQLITE_CONSTRAINT_NOTNULL) return daoerr::nullInRequiredField;
            if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE)
                return daoerr::duplicateKey;
            return daoerr::engineError;
        case SQLITE_IOERR:
        case SQLITE_FULL:
            return daoerr::diskError;
        case SQLITE_NOMEM:
            return 7;
        default:
            return daoerr::engineError;
    }
}

}  // namespace

Error translateSqliteError(int rc, sqlite3* db) {
    // The connection's message is only meaningful when it reports the same failure.
    std::string message =
        (db && sqlite3_extended_errcode(db) == rc) ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const int number = numberFor(rc, message);
    return Error(number, std::move(message));
}

void checkSqlite(int rc, sqlite3* db) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
    throw translateSqliteError(rc, db);
}

}  // namespace tarvex::dao
