#pragma once
// The demo database that `tarvex init` writes: the host schema plus one user, one invoice
// with its date entry and the office's deadline sentence.

#include <string>

namespace tarvex::cli {

// Creates the SQLite file at `path` (which must not exist) with the schema and demo rows.
// Throws std::runtime_error with a German message on failure and removes what it created.
void createDemoDatabase(const std::string& path);

// The SQL of the demo rows (documented in README).
const char* demoRowsSql();

}  // namespace tarvex::cli
