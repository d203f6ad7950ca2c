#pragma once
// The database engine's failures as the user reads them: one German sentence naming the
// problem, the engine's own text in parentheses, and what the failure means for the run.

#include <string>

#include "host_error.h"
#include "platform/error/error.h"

namespace tarvex::host {

// "Die Datenbank ist schreibgeschützt (attempt to write a readonly database)" and the like.
std::string databaseProblem(const Error& error);

// Busy for a lock held by another connection, BadInput for a file or content that cannot be
// used (no database, missing table or column, values of the wrong kind), NotWritten for
// anything that kept the database from being written (read-only, disk full, I/O).
Outcome databaseOutcome(const Error& error);

}  // namespace tarvex::host
