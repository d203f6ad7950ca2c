// tarvex show: plays the host's part. Opens the database and the invoice, creates GO through
// the class registry, sets its properties and calls Show late-bound, then plays the user's
// actions on the open window. After OK the invoice is saved first and the database changes
// are committed only once the invoice is safely on disk.
#include <chrono>
#include <iostream>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "calculators/kalkulator_slot.h"
#include "commands.h"
#include "document_lock.h"
#include "platform/com/class_registry.h"
#include "platform/dao/dao.h"
#include "platform/ui/form.h"
#include "platform/ui/modal_driver.h"
#include "platform/ui/user_actions.h"
#include "platform/word/word.h"
#include "plugin/session/window_slots.h"
#include "show_options.h"

extern "C" int tarvex_register_server(void);

namespace tarvex::cli {

namespace {

// The host's MDI client window the calculator windows become children of.
constexpr std::int32_t kHostClientWindow = 0x100;
// How long a run waits for another run on the same invoice.
constexpr std::chrono::seconds kLockPatience{5};

// Answers the table selection dialog as --wahl says; remembers when the answer could not be
// given (the option is not offered), since the dialog runs inside the plug-in's error trap.
class WahlAnswer {
public:
    explicit WahlAnswer(std::optional<std::string> wahl) : wahl_(std::move(wahl)) {}

    void operator()(ui::Form& dialog) {
        shown_ = true;
        if (!wahl_) {
            ui::user::click(dialog, "cmdEnde");
            return;
        }
        if (*wahl_ == "schliessen") {
            ui::user::close(dialog);
            return;
        }
        const std::string option = *wahl_ == "neu"      ? "optNeu"
                                   : *wahl_ == "cursor" ? "optAktTabelle"
                                                        : "optTabelle(" + std::to_string(std::stoi(*wahl_) - 1) + ")";
        ui::Control* control = dialog.find(option);
        if (!control || !control->enabled() || !control->visible()) {
            refused_ = "Die Auswahl \"" + *wahl_ + "\" wird in der Tabellenwahl nicht angeboten";
            ui::user::close(dialog);
            return;
        }
        ui::user::click(dialog, option);
        ui::user::click(dialog, "cmdEnde");
    }

    bool shown() const { return shown_; }
    const std::string& refused() const { return refused_; }

private:
    std::optional<std::string> wahl_;
    bool shown_ = false;
    std::string refused_;
};

std::shared_ptr<com::Dispatch> createGo() {
    // The class is registered as an installer would do it, pointing at the plug-in library
    // this host was built with, so that the registry never hands us a foreign copy.
    if (tarvex_register_server() != 0)
        throw std::runtime_error("Die Klasse TARVEX.GO kann nicht registriert werden");
    return com::createObject("TARVEX.GO");
}

ui::Form* openWindow(int index) {
    if (index < 0 || index > 4) return nullptr;
    auto* slot = dynamic_cast<KalkulatorSlot*>(&windowSlot(index));
    if (!slot || !slot->isLoaded()) return nullptr;
    return &slot->fenster();
}

int usage(std::ostream& err, const std::string& message) {
    err << "tarvex show: " << message << "\n";
    return 2;
}

}  // namespace

int runShow(const Arguments& args, std::ostream& out, std::ostream& err) {
    ShowOptions o;
    try {
        o = parseShowOptions(args);
    } catch (const std::invalid_argument& e) {
        return usage(err, std::string(e.what()) + ". Hilfe: tarvex show --help");
    }
    if (o.help) {
        out << showHelp() << actionsHelp();
        return 0;
    }

    std::unique_ptr<DocumentLock> lock;
    std::shared_ptr<dao::Workspace> workspace;
    std::shared_ptr<dao::Database> database;
    std::shared_ptr<word::Document> document;
    std::shared_ptr<dao::Recordset> rechnung;
    try {
        workspace = dao::makeSqliteWorkspace();
        database = workspace->openDatabase(o.database);
    } catch (const Error& e) {
        return usage(err, "Datenbank " + o.database + " nicht nutzbar: " + e.description());
    }
    try {
        lock = std::make_unique<DocumentLock>(o.document, kLockPatience);
        document = word::Document::Open(o.document);
    } catch (const Error& e) {
        return usage(err, "Dokument " + o.document + " nicht lesbar: " + e.description());
    } catch (const std::runtime_error& e) {
        return usage(err, e.what());
    }
    try {
        if (o.rechnung) {
            rechnung = database->openRecordset(
                "SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = " + std::to_string(*o.rechnung));
            if (rechnung->eof())
                return usage(err, "Rechnung " + std::to_string(*o.rechnung) + " nicht gefunden");
        }
        if (o.cursor) {
            if (*o.cursor > document->Tables().Count())
                return usage(err, "--cursor " + std::to_string(*o.cursor) +
                                      ": so viele Tabellen hat das Dokument nicht");
            document->Tables().Item(*o.cursor).Cell(1, 1).Range().Select();
        }
    } catch (const Error& e) {
        return usage(err, "Datenbank " + o.database + ": " + e.description());
    }

    auto answer = std::make_shared<WahlAnswer>(o.wahl);
    ui::setModalDriver(std::make_shared<ui::ScriptedModalDriver>(
        [answer](ui::Form& dialog) { (*answer)(dialog); }));

    database->beginTrans();
    bool committed = false;
    struct RollbackUnlessCommitted {
        dao::Database& db;
        bool& committed;
        ~RollbackUnlessCommitted() {
            if (!committed) try { db.rollback(); } catch (...) {}
        }
    } guard{*database, committed};

    auto go = createGo();
    go->put("LumWorkspace", Variant(workspace));
    go->put("DatenbankPfad", Variant(o.database));
    go->put("NeueAbfrage", Variant(database));
    go->put("ID_Benutzer", Variant(static_cast<std::int32_t>(o.user)));
    go->put("Doc", Variant(document));
    go->call("Show", {Variant(static_cast<std::int16_t>(o.index)),
                      rechnung ? Variant(rechnung) : Variant(),
                      Variant(kHostClientWindow)});
    if (!answer->refused().empty()) return usage(err, answer->refused() + "; nichts geschrieben");

    ui::Form* window = openWindow(o.index);
    if (!window && !o.actions.empty())
        return usage(err, "Index " + std::to_string(o.index) + " öffnet kein Fenster");
    bool okPressed = false;
    for (const Action& action : o.actions) {
        if (!window->isLoaded())
            return usage(err, "Das Fenster ist schon geschlossen, \"" + action.source +
                                  "\" kann nicht mehr ausgeführt werden; nichts geschrieben");
        try {
            playAction(*window, action, out);
        } catch (const std::invalid_argument& e) {
            return usage(err, std::string(e.what()) + "; nichts geschrieben");
        } catch (const Error& e) {
            return usage(err, "\"" + action.source + "\": " + e.description() + "; nichts geschrieben");
        }
        okPressed = okPressed || action.kind == Action::Kind::Ok;
    }

    if (!okPressed || (window && window->isLoaded())) {
        out << "Nichts geschrieben (kein OK).\n";
        return 0;
    }
    try {
        document->Save();
    } catch (const Error& e) {
        err << "tarvex show: Die Rechnung konnte nicht gespeichert werden (" << e.description()
            << "). Rechnung und Datenbank bleiben unverändert.\n";
        return 1;
    }
    try {
        database->commitTrans();
        committed = true;
    } catch (const Error& e) {
        err << "tarvex show: Die Rechnung ist gespeichert, die Beträge konnten aber nicht in die "
               "Datenbank geschrieben werden: "
            << e.description() << "\n";
        return 1;
    }
    out << "Rechnung gespeichert: " << o.document << "\n";
    return 0;
}

}  // namespace tarvex::cli
