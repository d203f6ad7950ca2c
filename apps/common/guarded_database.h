#pragma once
// The host database as the host hands it to the plug-in: every record set opened on it takes
// the database's write lock before its first change (Edit), and the first failure of Edit, a
// field assignment or Update is kept. The plug-in logs such failures and goes on; the host
// reads them here and never reports a record as saved that was not written.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/dao/dao.h"

namespace tarvex::host {

// Shared between the guarded objects and the session; the session clears `takeLock` when it
// ends, since the plug-in may keep a record set longer.
struct WriteGuard {
    // Takes the write lock (raises tarvex::Error, e.g. 3260 after the wait).
    std::function<void()> takeLock;
    // The first write failure since the last reset.
    std::optional<Error> failure;

    void note(const Error& error) {
        if (!failure) failure = error;
    }
};

std::shared_ptr<dao::Database> guardDatabase(std::shared_ptr<dao::Database> database,
                                             std::shared_ptr<WriteGuard> guard);

// The workspace the host hands the plug-in. Asked for the host's own database (by the path the
// host opened it with), it gives `own`, the connection the host already holds, instead of
// opening a second one that would read the schema again; any other path opens through
// `inner`.
std::shared_ptr<dao::Workspace> shareOwnDatabase(std::shared_ptr<dao::Workspace> inner,
                                                 std::string path,
                                                 std::shared_ptr<dao::Database> own);

}  // namespace tarvex::host
