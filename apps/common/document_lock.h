#pragma once
// An exclusive lock on an invoice file for the length of one run, so that two runs on the same
// invoice never overwrite each other's work. The lock is taken on the file itself; because a
// save replaces the file by renaming a new one over it, the lock is re-taken when the file
// was replaced while we waited, and a save locks its new file before renaming it into place.

#include <chrono>
#include <functional>
#include <string>

namespace tarvex::host {

class DocumentLock {
public:
    // Locks `path`, waiting up to `patience`; `waitNotice` (when set) hears true while it
    // waits and false when the wait ends. Throws HostError: BadInput when the file cannot be
    // opened, Busy when another run still holds it after the wait.
    DocumentLock(const std::string& path, std::chrono::milliseconds patience,
                 const std::function<void(bool)>& waitNotice = {});
    ~DocumentLock();
    DocumentLock(const DocumentLock&) = delete;
    DocumentLock& operator=(const DocumentLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace tarvex::host
