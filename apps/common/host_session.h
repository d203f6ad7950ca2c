#pragma once
// The host's side of a TARVEX session, shared by the command-line and the desktop host: the
// host database and the invoice document it opened, the invoice record, GO created through the
// class registry, Show, and the rule that the document is saved before the database changes
// are committed. Everything the plug-in writes to the database between Show and the save stays
// in one host-side transaction, so a failed save never leaves amounts for a table that is not
// on disk.

#include <chrono>
#include <cstdint>
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

// A step of the host that failed; what() is one German sentence for the user.
class HostError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class HostSession {
  public:
    // `lockPatience`: how long opening a document waits for another run holding it.
    explicit HostSession(std::chrono::milliseconds lockPatience = std::chrono::seconds(5));
    ~HostSession();  // rolls back a transaction still open
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Opens the host database (replacing an earlier one; the invoice record is dropped).
    // HostError "Datenbank P nicht nutzbar: ..." when it cannot be used, and when a transaction
    // is open. Nothing changes on failure.
    void openDatabase(const std::string& path);
    // Locks and opens the invoice document (replacing an earlier one). HostError "Dokument P
    // nicht lesbar: ..." or the lock's message; also while a transaction is open. Nothing
    // changes on failure.
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

    std::chrono::milliseconds lockPatience_;
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
