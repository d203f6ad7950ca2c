#include "host_session.h"

#include <dlfcn.h>

#include <filesystem>

#include "calculators/kalkulator_slot.h"
#include "database_problem.h"
#include "document_lock.h"
#include "guarded_database.h"
#include "invoice_amounts.h"
#include "order_context_check.h"
#include "platform/com/class_registry.h"
#include "platform/dao/dao.h"
#include "platform/word/file_system.h"
#include "platform/word/word.h"
#include "plugin/session/window_slots.h"
#include "save_journal.h"
#include "save_recovery.h"

extern "C" int tarvex_register_server(void);

namespace tarvex::host {

namespace {

constexpr const char* kClassName = "TARVEX.GO";
constexpr std::size_t kMaxInvoiceBytes = 256u << 20;

std::string seconds(std::chrono::milliseconds patience) {
    return std::to_string((patience.count() + 999) / 1000) + " s";
}

// The plug-in library this host was built with, as the loader found it; "" when unknown.
std::string plugInLibrary() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&tarvex_register_server), &info) == 0 || !info.dli_fname)
        return "";
    std::error_code error;
    auto path = std::filesystem::canonical(info.dli_fname, error);
    return error ? "" : path.string();
}

std::string absolute(const std::string& path) {
    std::error_code error;
    auto full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

}  // namespace

HostSession::HostSession(SessionOptions options)
    : options_(std::move(options)), guard_(std::make_shared<WriteGuard>()) {
    guard_->takeLock = [this] { takeWriteLock(); };
}

HostSession::~HostSession() {
    // The plug-in may keep the invoice's record set: it must not call into a dead session.
    guard_->takeLock = nullptr;
    rollback();
    // GO goes before the document and the database it refers to.
    go_.reset();
}

word::FileSystem& HostSession::fileSystem() const {
    return options_.fileSystem ? *options_.fileSystem : word::RealFileSystem();
}

void HostSession::openDatabase(const std::string& path) {
    if (inTransaction_)
        throw HostError("Datenbank " + path +
                        " nicht nutzbar: Es sind noch Änderungen offen; bitte zuerst speichern");
    try {
        auto workspace = options_.workspace ? options_.workspace : dao::makeSqliteWorkspace();
        // Opening reads the schema, which waits while another program writes.
        std::shared_ptr<dao::Database> database;
        const auto deadline = std::chrono::steady_clock::now() + options_.databasePatience;
        bool waited = false;
        while (!database) {
            try {
                database = workspace->openDatabase(path);
            } catch (const Error& e) {
                if (e.number() != dao::daoerr::locked ||
                    std::chrono::steady_clock::now() >= deadline) {
                    if (waited && options_.waitNotice) options_.waitNotice(false);
                    throw;
                }
                waited = true;
                if (options_.waitNotice) options_.waitNotice(true);
            }
        }
        if (waited && options_.waitNotice) options_.waitNotice(false);
        workspace_ = std::move(workspace);
        plainDatabase_ = std::move(database);
        database_ = guardDatabase(plainDatabase_, guard_);
    } catch (const Error& e) {
        throw HostError("Datenbank " + path + " nicht nutzbar: " + databaseProblem(e),
                        e.number() == dao::daoerr::locked ? Outcome::Busy : Outcome::BadInput);
    }
    databasePath_ = path;
    rechnung_.reset();
    invoiceId_.reset();
}

void HostSession::openDocument(const std::string& path) {
    if (inTransaction_)
        throw HostError("Dokument " + path +
                        " nicht lesbar: Es sind noch Änderungen offen; bitte zuerst speichern");
    auto lock = std::make_unique<DocumentLock>(path, options_.documentPatience,
                                               options_.waitNotice);
    // Refused now rather than after the user has filled in a window that cannot be saved.
    if (auto status = fileSystem().Status(path); status && !status->writable)
        throw HostError("Dokument " + path + " ist schreibgeschützt", Outcome::NotWritten);
    // Holding the lock, no other run is saving this invoice: whatever a save left behind
    // belongs to a run that is gone.
    auto workspace = options_.workspace ? options_.workspace : dao::makeSqliteWorkspace();
    if (recoverInterruptedSave(path, fileSystem(), *workspace, options_.databasePatience,
                               options_.waitNotice) &&
        options_.inform)
        options_.inform("Eine unterbrochene Speicherung von " + path +
                        " wurde abgeschlossen: Rechnung und Datensatz stimmen wieder überein.");
    removeLeftoverTemporaries(path, fileSystem());
    std::shared_ptr<word::Document> document;
    try {
        document = word::Document::Open(path, &fileSystem());
    } catch (const Error& e) {
        throw HostError("Dokument " + path + " nicht lesbar: " + e.description());
    }
    document_ = std::move(document);
    lock_ = std::move(lock);
    documentPath_ = path;
}

void HostSession::selectInvoice(std::optional<int> id) {
    if (!database_) throw HostError("Keine Datenbank geöffnet");
    if (!id) {
        rechnung_.reset();
        invoiceId_.reset();
        return;
    }
    try {
        auto rechnung = database_->openRecordset(
            "SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = " + std::to_string(*id));
        if (rechnung->eof()) throw HostError("Rechnung " + std::to_string(*id) + " nicht gefunden");
        // OK writes these fields; a record without them could not be stored.
        for (const std::string& field : writtenFields()) {
            try {
                rechnung->field(field);
            } catch (const Error&) {
                throw HostError("Datenbank " + databasePath_ + ": In der Tabelle Rechnung fehlt "
                                "die Spalte „" + field + "“");
            }
        }
        rechnung_ = std::move(rechnung);
        invoiceId_ = id;
    } catch (const Error& e) {
        throw HostError("Datenbank " + databasePath_ + ": " + databaseProblem(e),
                        e.number() == dao::daoerr::locked ? Outcome::Busy : Outcome::BadInput);
    }
}

std::shared_ptr<com::Dispatch> HostSession::go() {
    if (!go_) {
        // The class is registered as an installer would do it, pointing at the plug-in library
        // this host was built with, so that the registry never hands us a foreign copy. When
        // the registry file cannot be written the class is registered for this run only.
        if (tarvex_register_server() != 0) {
            const std::string library = plugInLibrary();
            if (library.empty())
                throw std::runtime_error("Die Klasse TARVEX.GO kann nicht registriert werden");
            com::registerClassForProcess(kClassName, library);
            static bool told = false;
            if (!told && options_.inform)
                options_.inform("Die Klassenregistrierung " + com::classRegistryPath().string() +
                                " kann nicht geschrieben werden; TARVEX.GO gilt nur für diesen "
                                "Lauf.");
            told = true;
        }
        go_ = com::createObject(kClassName);
    }
    return go_;
}

void HostSession::checkOrderContext(std::int32_t user) {
    if (!plainDatabase_) throw HostError("Keine Datenbank geöffnet");
    host::checkOrderContext(*plainDatabase_, user);
}

ui::Form* HostSession::show(int index, std::int32_t user, WindowHandle hostWindow) {
    if (!ready()) throw HostError("Bitte zuerst eine Rechnung und eine Datenbank öffnen");
    checkOrderContext(user);
    beginTransaction();
    auto g = go();
    g->put("LumWorkspace", Variant(shareOwnDatabase(workspace_, databasePath_, database_)));
    g->put("DatenbankPfad", Variant(databasePath_));
    g->put("NeueAbfrage", Variant(database_));
    g->put("ID_Benutzer", Variant(user));
    g->put("Doc", Variant(document_));
    g->call("Show", {Variant(static_cast<std::int16_t>(index)),
                     rechnung_ ? Variant(rechnung_) : Variant(), Variant(hostWindow)});
    return calculatorWindow(index);
}

void HostSession::beginTransaction() {
    if (!database_) return;
    inTransaction_ = true;
}

void HostSession::takeWriteLock() {
    if (writeLocked_ || !plainDatabase_) return;
    beginWriting(*plainDatabase_, options_.databasePatience, options_.waitNotice);
    writeLocked_ = true;
    inTransaction_ = true;
}

bool HostSession::unsaved() const { return document_ && !document_->Saved(); }

void HostSession::reloadDocument() {
    try {
        document_ = word::Document::Open(documentPath_, &fileSystem());
        if (go_) go_->put("Doc", Variant(document_));
    } catch (const std::exception&) {
        // The changed document stays; saving it is refused no more than before.
    }
}

void HostSession::dropChanges(const std::string& message, Outcome outcome) {
    rollback();
    reloadDocument();
    throw HostError(message, outcome);
}

void HostSession::releaseWriteLock() noexcept {
    if (!writeLocked_) return;
    writeLocked_ = false;
    try {
        plainDatabase_->rollback();
    } catch (...) {
    }
}

void HostSession::saveAndCommit() {
    if (!document_) throw HostError("Keine Rechnung geöffnet");
    if (guard_->failure) {
        const Error failure = *guard_->failure;
        const Outcome outcome = databaseOutcome(failure);
        dropChanges("Der Rechnungsdatensatz konnte nicht geschrieben werden: " +
                        databaseProblem(failure) +
                        (outcome == Outcome::Busy
                             ? " – nach " + seconds(options_.databasePatience) + " Wartezeit"
                             : "") +
                        ". Rechnung und Datenbank bleiben unverändert.",
                    outcome);
    }
    // An earlier attempt that failed left its amounts pending: they are written again.
    if (pendingAmounts_ && invoiceId_ && !writeLocked_) {
        try {
            takeWriteLock();
            writeAmounts(*plainDatabase_, *invoiceId_, *pendingAmounts_);
        } catch (const Error& e) {
            releaseWriteLock();
            throw HostError("Der Rechnungsdatensatz konnte nicht geschrieben werden: " +
                                databaseProblem(e) + ". Rechnung und Datenbank bleiben unverändert.",
                            databaseOutcome(e));
        }
    }
    // What the record is about to hold, for the journal; and the invoice as it is, so that a
    // failed commit can put it back.
    std::optional<SaveJournal> journal;
    if (writeLocked_ && invoiceId_) {
        try {
            journal = SaveJournal{0, 0, absolute(databasePath_), *invoiceId_,
                                  readAmounts(*plainDatabase_, *invoiceId_)};
        } catch (const Error& e) {
            dropChanges("Der Rechnungsdatensatz kann nicht gelesen werden: " +
                            databaseProblem(e) + ". Rechnung und Datenbank bleiben unverändert.",
                        databaseOutcome(e));
        }
    }
    // Kept open rather than read: after the rename it still holds the old file's content.
    std::unique_ptr<word::ReadableFile> before;
    bool existed = true;
    if (writeLocked_) {
        try {
            before = fileSystem().OpenForReading(documentPath_, kMaxInvoiceBytes);
        } catch (const Error& e) {
            existed = e.number() != 53;  // not there: a failed commit removes the new file
        }
    }

    SavingFileSystem saving(fileSystem(), documentPath_, journal);
    try {
        document_->Save(&saving);
    } catch (const Error& e) {
        // Only when the new file is not in place; a failure after the rename (flushing the
        // folder) leaves a saved invoice whose record is committed below.
        if (!saving.renamed()) {
            // The database is not kept locked while the user decides: the amounts wait here.
            if (journal) pendingAmounts_ = journal->values;
            releaseWriteLock();
            throw HostError("Die Rechnung konnte nicht gespeichert werden (" + e.description() +
                                "). Rechnung und Datenbank bleiben unverändert.",
                            Outcome::NotWritten);
        }
    }
    // Saving put a new file in place of the one we locked: hold the new one from now on.
    if (auto lock = saving.takeLock()) lock_ = std::move(lock);
    pendingAmounts_.reset();
    if (!writeLocked_) {
        inTransaction_ = false;
        return;
    }

    std::optional<Error> commitFailure;
    try {
        plainDatabase_->commitTrans();
        writeLocked_ = false;
    } catch (const Error& e) {
        commitFailure = e;
    }
    releaseWriteLock();
    inTransaction_ = false;
    if (commitFailure) {
        // A commit may report a failure and still have taken effect.
        bool tookEffect = false;
        try {
            tookEffect =
                journal && holdsAmounts(*plainDatabase_, journal->invoice, journal->values);
        } catch (const Error&) {
        }
        if (!tookEffect) undoSave(saving, before.get(), existed, *commitFailure);
    }
    saving.removeJournal();
}

void HostSession::undoSave(SavingFileSystem& saving, word::ReadableFile* before, bool existed,
                           const Error& commitFailure) {
    const std::string problem = databaseProblem(commitFailure);
    // Put the old invoice back (or take the new one away), so that it agrees with the record.
    SavingFileSystem restoring(fileSystem(), documentPath_, std::nullopt);
    try {
        if (before)
            word::WriteFileAtomically(restoring, documentPath_, [before](word::WritableFile& file) {
                word::CopyContent(*before, file);
            });
        else if (!existed)
            fileSystem().Remove(documentPath_);
        else
            throw Error(errc::fileError, "die bisherige Fassung war nicht lesbar");
    } catch (const Error& e) {
        // The journal stays: the next session on the invoice completes the save.
        throw HostError("Die Beträge konnten nicht in die Datenbank geschrieben werden (" +
                            problem +
                            "), und die bisherige Rechnung ließ sich nicht zurückschreiben (" +
                            e.description() +
                            "). Der nächste Lauf auf dieser Rechnung trägt die Beträge nach.",
                        Outcome::NotWritten);
    }
    if (auto lock = restoring.takeLock()) lock_ = std::move(lock);
    saving.removeJournal();
    reloadDocument();
    const Outcome outcome = databaseOutcome(commitFailure);
    throw HostError("Die Beträge konnten nicht in die Datenbank geschrieben werden: " + problem +
                        ". Rechnung und Datenbank bleiben unverändert.",
                    outcome == Outcome::Busy ? outcome : Outcome::NotWritten);
}

void HostSession::rollback() noexcept {
    inTransaction_ = false;
    guard_->failure.reset();
    pendingAmounts_.reset();
    releaseWriteLock();
}

ui::Form* calculatorWindow(int index) {
    if (index < 0 || index > 4) return nullptr;
    auto* slot = dynamic_cast<KalkulatorSlot*>(&windowSlot(index));
    if (!slot || !slot->isLoaded()) return nullptr;
    return &slot->fenster();
}

}  // namespace tarvex::host
