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
}
namespace ui {
class Form;
}
}  // namespace tarvex

namespace tarvex::host {

class DocumentLock;

// What a host run came to; the command-line host's exit status is its value.
enum class Outcome {
    Ok = 0,          // invoice and record both written (or nothing to write)
    NotWritten = 1,  // nothing written: the invoice or the database could not be written
    BadInput = 2,    // arguments, file or database content unusable
    Busy = 3,        // invoice or database held by someone else longer than the wait
};

// A step of the host that failed; what() is one German sentence for the user.
class HostError : public std::runtime_error {
  public:
    explicit HostError(const std::string& message, Outcome outcome = Outcome::BadInput)
        : std::runtime_error(message), outcome_(outcome) {}
    Outcome outcome() const { return outcome_; }

  private:
    Outcome outcome_;
};

struct SessionOptions {
    // How long opening an invoice waits for another run holding it.
    std::chrono::milliseconds documentPatience{std::chrono::seconds(5)};
    // How long the session waits for the database's write lock.
    std::chrono::milliseconds databasePatience{std::chrono::seconds(10)};
    // Called while the session waits for the database or the invoice: true when waiting
    // starts, false when it ends. The desktop host shows a busy note and keeps its event loop
    // alive; the call may come repeatedly with true while the wait lasts.
    std::function<void(bool waiting)> waitNotice;
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
    // Locks and opens the invoice document (replacing an earlier one). HostError "Dokument P
    // nicht lesbar: ...", "Dokument P ist schreibgeschützt" or the lock's message (also for a
    // FIFO, device or folder); also while a transaction is open. Nothing changes on failure.
    void openDocument(const std::string& path);
    // Chooses the invoice record Show receives by ID_Rechnungsnummer; nullopt for none.
    // HostError "Rechnung N nicht gefunden", or "Datenbank P: ..." for an engine error.
    // Precondition: a database is open.
    void selectInvoice(std::optional<int> id);

    bool ready() const { return database_ && document_; }
    const std::shared_ptr<dao::Database>& database() const { return database_; }
    const std::shared_ptr<word::Document>& document() const { return document_; }
    const std::string& databasePath() const { return databasePath_; }
    const std::string& documentPath() const { return documentPath_; }
    std::optional<int> invoice() const { return invoiceId_; }

    // Begins the host transaction when none is open, creates GO on first use, sets its
    // properties and calls Show(index, Rechnung, hostWindow). Returns the calculator window
    // for `index` when one is open afterwards, else nullptr. HostError when not ready();
    // registry failures pass as thrown (tarvex::Error 429, std::runtime_error).
    ui::Form* show(int index, std::int32_t user, WindowHandle hostWindow);
    // Checks the user's TempDoc row before Show: HostError(BadInput) with a German sentence
    // naming the problem when the row is missing or a column the totals use holds a value the
    // plug-in cannot read or no office can mean. show() calls it itself, so hosts need not.
    void checkOrderContext(std::int32_t user);

    bool inTransaction() const { return inTransaction_; }
    // Begins the host transaction when none is open. Engine errors pass as tarvex::Error.
    void beginTransaction();
    // Whether the document holds changes not yet saved.
    bool unsaved() const;
    // Saves the document, then commits the open transaction. HostError with the German
    // message when the save fails (nothing committed; the transaction stays open) or when the
    // commit fails after the save (the transaction stays open for another attempt).
    void saveAndCommit();
    // Drops the database changes of the open transaction; nothing when none is open.
    void rollback() noexcept;

  private:
    std::shared_ptr<com::Dispatch> go();

    SessionOptions options_;
    std::shared_ptr<dao::Workspace> workspace_;
    std::shared_ptr<dao::Database> database_;
    std::string databasePath_;
    std::unique_ptr<DocumentLock> lock_;
    std::shared_ptr<word::Document> document_;
    std::string documentPath_;
    std::shared_ptr<dao::Recordset> rechnung_;
    std::optional<int> invoiceId_;
    bool inTransaction_ = false;
    std::shared_ptr<com::Dispatch> go_;
};

// The calculator window Show opened for `index` 0..4, or nullptr when there is none loaded.
ui::Form* calculatorWindow(int index);

}  // namespace tarvex::host
