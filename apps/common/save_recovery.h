#pragma once
// What the next session on an invoice does about an earlier save that was cut short (a
// killed run, a power loss): it completes the save when the new file is in place, so that
// the invoice and its record agree again, drops the journal when the old file is still in
// place, and removes the temporary files such saves leave beside the invoice.

#include <chrono>
#include <functional>
#include <string>

namespace tarvex::dao {
class Workspace;
}
namespace tarvex::word {
class FileSystem;
}

namespace tarvex::host {

// Precondition: the caller holds the invoice's lock, so no other run is saving it. Throws
// HostError when a journal is unreadable or its database cannot be written (the journal then
// stays for the next attempt). Returns whether a save was completed.
bool recoverInterruptedSave(const std::string& document, word::FileSystem& fs,
                            dao::Workspace& workspace, std::chrono::milliseconds patience,
                            const std::function<void(bool)>& waitNotice);

// Removes ".NAME.tarvex-*.tmp" (and the journal's own temporary files) beside the invoice
// NAME (the file a link points to); returns how many. Same precondition.
int removeLeftoverTemporaries(const std::string& document, word::FileSystem& fs);

}  // namespace tarvex::host
