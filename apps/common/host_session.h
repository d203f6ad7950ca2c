#pragma once
// The host's side of a TARVEX session, shared by the command-line and the desktop host: the
// host database and the invoice document it opened, the invoice record, GO created through the
// class registry, Show, and the rule that the document is saved before the database changes
// are committed. Everything the plug-in writes to the database between Show and the save stays
// in one host-side transaction, so a failed save never leaves amounts for a table that is not
// on disk.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "host_error.h"
#include "platform/error/error.h"
#include "platform/variant/variant.h"
#include "platform/system/window_manager.h"

namespace tarvex {
namespace com {
class Dispatch;
}
namespace dao {
class Database;
class Recordset;
class Workspace;
}  // namespace dao
namespace word {
class Document;
class FileSystem;
class ReadableFile;
}  // namespace word
namespace ui {
class Form;
}
}  // namespace tarvex

namespace tarvex::host {

class DocumentLock;
class SavingFileSystem;
struct WriteGuard;

struct SessionOptions {
    // How long opening an invoice waits for another run holding it.
    std::chrono::milliseconds documentPatience{std::chrono::seconds(5)};
    // How long the session waits for the database's write lock.
    std::chrono::milliseconds databasePatience{std::chrono::seconds(10)};
    // Called while the session waits for the database or the invoice: true when waiting
    // starts, false when it ends. The desktop host shows a busy note and keeps its event loop
    // alive; the call may come repeatedly with true while the wait lasts, also from inside
    // the plug-in's OK (the database is locked just before OK writes the record).
    std::function<void(bool waiting)> waitNotice;
    // Hears a note worth telling the user that does not stop the run (one German sentence).
    std::function<void(const std::string& note)> inform;
    // The database engine and the file system the session works on; unset: SQLite and the
    // real file system. Tests put fault-injecting wrappers here.
    std::shared_ptr<dao::Workspace> workspace;
    word::FileSystem* fileSystem = nullptr;
};

class HostSession {
  public:
    explicit HostSession(SessionOptions options = {});
    ~HostSession();  // rolls back a transaction still open
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Opens the host database (replacing an earlier one; the invoice record is dropped).
    // HostError "Datenbank P nicht nutzbar: ..." when it cannot be used, and when a transaction
    // is open. Nothing changes on failure.
    void openDatabase(const std::string& path);
    // Locks and opens the invoice document (replacing an earlier one). A save of it that was
    // cut short earlier is completed first and leftover temporary files are removed
    // (HostError when that cannot be done). HostError "Dokument P nicht lesbar: ...",
    // "Dokument P ist schreibgeschützt" (NotWritten) or the lock's message (also for a FIFO,
    // device or folder; Busy after the wait); also while a transaction is open. Nothing
    // changes on failure.
    void openDocument(const std::string& path);
    // Chooses the invoice record Show receives by ID_Rechnungsnummer; nullopt for none.
    // HostError "Rechnung N nicht gefunden", or the database's problem; also when the record
    // lacks a field OK writes. Precondition: a database is open.
    void selectInvoice(std::optional<int> id);

    bool ready() const { return database_ && document_; }
    const std::shared_ptr<dao::Database>& database() const { return database_; }
    const std::shared_ptr<word::Document>& document() const { return document_; }
    const std::string& databasePath() const { return databasePath_; }
    const std::string& documentPath() const { return documentPath_; }
    std::optional<int> invoice() const { return invoiceId_; }

    // Checks the order context (checkOrderContext), begins the host transaction when none
    // is open, creates GO on first use, sets its properties and calls Show(index, Rechnung,
    // hostWindow). Returns the calculator window for `index` when one is open afterwards,
    // else nullptr. HostError when not ready() or the order context is refused; registry
    // failures pass as thrown (tarvex::Error 429, std::runtime_error).
    ui::Form* show(int index, std::int32_t user, WindowHandle hostWindow);
    // Checks the user's TempDoc row before Show: HostError(BadInput) with a German sentence
    // naming the problem when the row is missing or a column the totals use holds a value the
    // plug-in cannot read or no office can mean. show() calls it itself, so hosts need not.
    void checkOrderContext(std::int32_t user);

    // Whether changes since Show are pending (until saveAndCommit or rollback). The database
    // itself is locked only from the first write on (OK), so an open window blocks no one.
    bool inTransaction() const { return inTransaction_; }
    // Marks the start of pending changes (show() does it).
    void beginTransaction();
    // Whether the document holds changes not yet saved.
    bool unsaved() const;
    // Saves the document, then commits the record; after it the invoice and the record agree.
    // HostError (outcome NotWritten, Busy or BadInput) when OK could not write the record:
    // the changes of the invoice are dropped (the document is read again from disk) and the
    // database rolled back. HostError(NotWritten) when the save fails (nothing committed; the
    // changes stay pending for another attempt; the database is not kept locked meanwhile),
    // or when the commit fails (the invoice file is put back as it was, the document read
    // again, the database rolled back).
    void saveAndCommit();
    // Drops the database changes of the open transaction; nothing when none is open.
    void rollback() noexcept;

  private:
    std::shared_ptr<com::Dispatch> go();
    word::FileSystem& fileSystem() const;
    void takeWriteLock();
    void releaseWriteLock() noexcept;
    // `before`: the invoice as it was (null when it could not be opened).
    [[noreturn]] void undoSave(SavingFileSystem& saving, word::ReadableFile* before, bool existed,
                               const Error& commitFailure);
    void reloadDocument();
    [[noreturn]] void dropChanges(const std::string& message, Outcome outcome);

    SessionOptions options_;
    std::shared_ptr<dao::Workspace> workspace_;
    std::shared_ptr<dao::Database> plainDatabase_;  // the engine's own object
    std::shared_ptr<dao::Database> database_;       // the same, guarded, as the plug-in gets it
    std::shared_ptr<WriteGuard> guard_;
    std::string databasePath_;
    std::unique_ptr<DocumentLock> lock_;
    std::shared_ptr<word::Document> document_;
    std::string documentPath_;
    std::shared_ptr<dao::Recordset> rechnung_;
    std::optional<int> invoiceId_;
    bool inTransaction_ = false;
    bool writeLocked_ = false;  // the exclusive database transaction is open
    // The record's amounts of a save that failed, written again by the next attempt.
    std::optional<std::vector<std::pair<std::string, Variant>>> pendingAmounts_;
    std::shared_ptr<com::Dispatch> go_;
};

// The calculator window Show opened for `index` 0..4, or nullptr when there is none loaded.
ui::Form* calculatorWindow(int index);

}  // namespace tarvex::host
