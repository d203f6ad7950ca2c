#include "host_session.h"

#include "calculators/kalkulator_slot.h"
#include "document_lock.h"
#include "platform/com/class_registry.h"
#include "platform/dao/dao.h"
#include "platform/word/file_system.h"
#include "platform/word/word.h"
#include "plugin/session/window_slots.h"

extern "C" int tarvex_register_server(void);

namespace tarvex::host {

HostSession::HostSession(SessionOptions options) : options_(std::move(options)) {}

HostSession::~HostSession() {
    rollback();
    // GO goes before the document and the database it refers to.
    go_.reset();
}

void HostSession::openDatabase(const std::string& path) {
    if (inTransaction_)
        throw HostError("Datenbank " + path +
                        " nicht nutzbar: Es sind noch Änderungen offen; bitte zuerst speichern");
    try {
        auto workspace = dao::makeSqliteWorkspace();
        auto database = workspace->openDatabase(path);
        workspace_ = std::move(workspace);
        database_ = std::move(database);
    } catch (const Error& e) {
        throw HostError("Datenbank " + path + " nicht nutzbar: " + e.description());
    }
    databasePath_ = path;
    rechnung_.reset();
    invoiceId_.reset();
}

void HostSession::openDocument(const std::string& path) {
    if (inTransaction_)
        throw HostError("Dokument " + path +
                        " nicht lesbar: Es sind noch Änderungen offen; bitte zuerst speichern");
    std::unique_ptr<DocumentLock> lock;
    std::shared_ptr<word::Document> document;
    try {
        lock = std::make_unique<DocumentLock>(path, options_.documentPatience);
        // Refused now rather than after the user has filled in a window that cannot be saved.
        if (auto status = word::RealFileSystem().Status(path); status && !status->writable)
            throw HostError("Dokument " + path + " ist schreibgeschützt");
        document = word::Document::Open(path);
    } catch (const Error& e) {
        throw HostError("Dokument " + path + " nicht lesbar: " + e.description());
    } catch (const std::runtime_error& e) {
        throw HostError(e.what());
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
        rechnung_ = std::move(rechnung);
        invoiceId_ = id;
    } catch (const Error& e) {
        throw HostError("Datenbank " + databasePath_ + ": " + e.description());
    }
}

std::shared_ptr<com::Dispatch> HostSession::go() {
    if (!go_) {
        // The class is registered as an installer would do it, pointing at the plug-in library
        // this host was built with, so that the registry never hands us a foreign copy.
        if (tarvex_register_server() != 0)
            throw std::runtime_error("Die Klasse TARVEX.GO kann nicht registriert werden");
        go_ = com::createObject("TARVEX.GO");
    }
    return go_;
}

ui::Form* HostSession::show(int index, std::int32_t user, WindowHandle hostWindow) {
    if (!ready()) throw HostError("Bitte zuerst eine Rechnung und eine Datenbank öffnen");
    beginTransaction();
    auto g = go();
    g->put("LumWorkspace", Variant(workspace_));
    g->put("DatenbankPfad", Variant(databasePath_));
    g->put("NeueAbfrage", Variant(database_));
    g->put("ID_Benutzer", Variant(user));
    g->put("Doc", Variant(document_));
    g->call("Show", {Variant(static_cast<std::int16_t>(index)),
                     rechnung_ ? Variant(rechnung_) : Variant(), Variant(hostWindow)});
    return calculatorWindow(index);
}

void HostSession::checkOrderContext(std::int32_t) {}

void HostSession::beginTransaction() {
    if (inTransaction_ || !database_) return;
    database_->beginTrans();
    inTransaction_ = true;
}

bool HostSession::unsaved() const { return document_ && !document_->Saved(); }

void HostSession::saveAndCommit() {
    if (!document_) throw HostError("Keine Rechnung geöffnet");
    try {
        document_->Save();
    } catch (const Error& e) {
        throw HostError("Die Rechnung konnte nicht gespeichert werden (" + e.description() +
                        "). Rechnung und Datenbank bleiben unverändert.");
    }
    // Saving put a new file in place of the one we locked: hold the new one from now on.
    try {
        lock_ = std::make_unique<DocumentLock>(documentPath_, std::chrono::milliseconds(0));
    } catch (const std::runtime_error&) {
    }
    if (!inTransaction_) return;
    try {
        database_->commitTrans();
        inTransaction_ = false;
    } catch (const Error& e) {
        throw HostError(
            "Die Rechnung ist gespeichert, die Beträge konnten aber nicht in die Datenbank "
            "geschrieben werden: " +
            e.description());
    }
}

void HostSession::rollback() noexcept {
    if (!inTransaction_) return;
    inTransaction_ = false;
    try {
        database_->rollback();
    } catch (...) {
    }
}

ui::Form* calculatorWindow(int index) {
    if (index < 0 || index > 4) return nullptr;
    auto* slot = dynamic_cast<KalkulatorSlot*>(&windowSlot(index));
    if (!slot || !slot->isLoaded()) return nullptr;
    return &slot->fenster();
}

}  // namespace tarvex::host
