#include "actions.h"

#include <ostream>
#include <sstream>
#include <stdexcept>

#include "platform/ui/form.h"
#include "platform/ui/form_state_json.h"
#include "platform/ui/user_actions.h"

namespace tarvex::cli {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Splits off the first blank-separated word.
std::string nextWord(std::string& rest) {
    rest = trimmed(rest);
    const auto blank = rest.find_first_of(" \t");
    std::string word = rest.substr(0, blank);
    rest = blank == std::string::npos ? "" : rest.substr(blank + 1);
    return word;
}

// A text argument; double quotes around it keep leading and trailing blanks.
std::string textArgument(const std::string& rest) {
    std::string t = rest;
    if (!t.empty() && t.front() == ' ') t.erase(0, 1);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') return t.substr(1, t.size() - 2);
    return trimmed(t);
}

// "\n" in a typed text stands for the Enter key (a line end in a multi-line text box), "\\"
// for one backslash; any other backslash is typed as it stands.
std::string withEscapes(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[i + 1] == 'n' ? '\r' : '\\';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

[[noreturn]] void fail(const std::string& message, const std::string& line) {
    throw std::invalid_argument(message + ": \"" + line + "\"");
}

}  // namespace

std::optional<Action> parseAction(const std::string& line) {
    std::string rest = line;
    const std::string verb = nextWord(rest);
    if (verb.empty() || verb[0] == '#') return std::nullopt;
    Action a{};
    a.source = trimmed(line);
    auto needControl = [&] {
        a.control = nextWord(rest);
        if (a.control.empty()) fail("Steuerelement fehlt", line);
    };
    if (verb == "type") {
        a.kind = Action::Kind::Type;
        needControl();
        a.text = withEscapes(textArgument(rest));
    } else if (verb == "key") {
        a.kind = Action::Kind::Key;
        needControl();
        a.text = withEscapes(textArgument(rest));
        if (a.text.empty()) fail("Taste fehlt", line);
    } else if (verb == "click") {
        a.kind = Action::Kind::Click;
        needControl();
    } else if (verb == "select") {
        a.kind = Action::Kind::Select;
        needControl();
        const std::string n = nextWord(rest);
        try {
            std::size_t used = 0;
            a.entry = std::stoi(n, &used);
            if (used != n.size()) throw std::invalid_argument(n);
        } catch (const std::exception&) {
            fail("Listeneintrag muss eine ganze Zahl sein", line);
        }
    } else if (verb == "leave") {
        a.kind = Action::Kind::Leave;
        needControl();
    } else if (verb == "print") {
        a.kind = Action::Kind::Print;
    } else if (verb == "ok") {
        a.kind = Action::Kind::Ok;
    } else if (verb == "cancel") {
        a.kind = Action::Kind::Cancel;
    } else {
        fail("Unbekannte Aktion", line);
    }
    if (a.kind != Action::Kind::Type && a.kind != Action::Kind::Key && !trimmed(rest).empty())
        fail("Zu viele Angaben", line);
    return a;
}

void playAction(ui::Form& form, const Action& a, std::ostream& out) {
    if (!a.control.empty() && !form.find(a.control))
        fail("Unbekanntes Steuerelement in " + form.name(), a.source);
    switch (a.kind) {
        case Action::Kind::Type: ui::user::type(form, a.control, a.text); break;
        case Action::Kind::Key: {
            // One character: its code as the key (UTF-8 sequences stand for one character).
            const unsigned char first = static_cast<unsigned char>(a.text[0]);
            if (a.text.size() > 1 && first < 0x80) fail("Genau ein Zeichen erwartet", a.source);
            ui::user::keyPress(form, a.control, first < 0x80 ? first : 0);
            break;
        }
        case Action::Kind::Click: ui::user::click(form, a.control); break;
        case Action::Kind::Select:
            if (a.entry < 0) {
                ui::user::focus(form, a.control);
                form.combo(a.control).setListIndex(-1);
                ui::user::leave(form, a.control);
            } else {
                ui::user::chooseListEntry(form, a.control, a.entry);
            }
            break;
        case Action::Kind::Leave:
            ui::user::focus(form, a.control);
            ui::user::leave(form, a.control);
            break;
        case Action::Kind::Print: out << ui::formStateJson(form).dump() << "\n"; break;
        case Action::Kind::Ok: ui::user::click(form, "CommandEnde"); break;
        case Action::Kind::Cancel: ui::user::click(form, "CommandAbbruch"); break;
    }
}

const char* actionsHelp() {
    return "Aktionen (je eine pro -e oder pro Zeile des Skripts):\n"
           "  type FELD TEXT     Feld betreten, TEXT Taste für Taste eingeben, Feld verlassen\n"
           "                     (Anführungszeichen um TEXT erhalten Leerzeichen am Rand;\n"
           "                     \\n ist die Eingabetaste, die in einem mehrzeiligen Textfeld\n"
           "                     eine neue Zeile beginnt, \\\\ ein Backslash)\n"
           "  key FELD ZEICHEN   ein Tastendruck im Feld (\\n: Eingabetaste)\n"
           "  click ELEMENT      Klick (Kontrollkästchen wechselt, Optionsfeld wird gewählt,\n"
           "                     Schaltfläche löst aus)\n"
           "  select LISTE N     Eintrag N (ab 0) eines Kombinationsfeldes wählen, -1 für keinen\n"
           "  leave FELD         Feld betreten und ohne Änderung verlassen\n"
           "  print              Zustand des Fensters als eine Zeile JSON ausgeben\n"
           "  ok, cancel         die Schaltflächen \"OK\" und \"Abbruch\"\n"
           "Steuerelemente tragen die Namen des Fensters, Felder eines Arrays z. B. optNr(3).\n";
}

}  // namespace tarvex::cli
