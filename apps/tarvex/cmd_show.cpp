// tarvex show: plays the host's part. Opens the database and the invoice, creates GO through
// the class registry, sets its properties and calls Show late-bound, then plays the user's
// actions on the open window. After OK the invoice is saved first and the database changes
// are committed only once the invoice is safely on disk.
#include <chrono>
#include <iostream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

#include "commands.h"
#include "host_session.h"
#include "platform/ui/form.h"
#include "platform/ui/modal_driver.h"
#include "platform/ui/user_actions.h"
#include "platform/word/word.h"
#include "show_options.h"

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

int usage(std::ostream& err, const std::string& message) {
    err << "tarvex show: " << message << "\n";
    return static_cast<int>(host::Outcome::BadInput);
}

int failed(std::ostream& err, const host::HostError& e) {
    err << "tarvex show: " << e.what() << "\n";
    return static_cast<int>(e.outcome());
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

    host::SessionOptions options;
    options.documentPatience = kLockPatience;
    options.databasePatience = std::chrono::seconds(o.warten);
    options.inform = [&err](const std::string& note) {
        err << "tarvex show: Hinweis: " << note << "\n";
    };
    bool waiting = false;
    options.waitNotice = [&err, &waiting](bool now) {
        if (now && !waiting) err << "tarvex show: warte, Rechnung oder Datenbank ist belegt …\n";
        waiting = now;
    };
    host::HostSession session(options);
    try {
        session.openDatabase(o.database);
        session.openDocument(o.document);
        session.selectInvoice(o.rechnung);
        session.checkOrderContext(o.user);
    } catch (const host::HostError& e) {
        return failed(err, e);
    }
    try {
        if (o.cursor) {
            auto& document = *session.document();
            if (*o.cursor > document.Tables().Count())
                return usage(err, "--cursor " + std::to_string(*o.cursor) +
                                      ": so viele Tabellen hat das Dokument nicht");
            document.Tables().Item(*o.cursor).Cell(1, 1).Range().Select();
        }
    } catch (const Error& e) {
        return usage(err, "Dokument " + o.document + ": Cursor nicht setzbar: " + e.description());
    }

    auto answer = std::make_shared<WahlAnswer>(o.wahl);
    ui::setModalDriver(std::make_shared<ui::ScriptedModalDriver>(
        [answer](ui::Form& dialog) { (*answer)(dialog); }));

    // The session rolls the database changes back unless they were committed after the save.
    ui::Form* window = nullptr;
    try {
        window = session.show(o.index, o.user, kHostClientWindow);
    } catch (const host::HostError& e) {
        return failed(err, e);
    }
    if (!answer->refused().empty()) return usage(err, answer->refused() + "; nichts geschrieben");

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
        session.saveAndCommit();
    } catch (const host::HostError& e) {
        return failed(err, e);
    }
    out << "Rechnung gespeichert: " << o.document << "\n";
    return 0;
}

}  // namespace tarvex::cli
