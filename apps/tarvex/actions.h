#pragma once
// The user actions a `tarvex show` run plays on the open calculator window, one per `-e` or
// per script line: type, key, click, select, leave, print, ok, cancel.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tarvex::ui {
class Form;
}

namespace tarvex::cli {

struct Action {
    enum class Kind { Type, Key, Click, Select, Leave, Print, Ok, Cancel };
    Kind kind;
    std::string control;
    std::string text;  // Type: the text; Key: the character
    int entry = 0;     // Select: list entry, -1 for none
    std::string source;  // the line as written, for messages
};

// Parses one action line. Throws std::invalid_argument with a German message for an unknown
// action or missing arguments. Blank lines and lines starting with "#" give nullopt.
std::optional<Action> parseAction(const std::string& line);

// Plays the action on the form. `print` writes the form's state as one JSON line to `out`.
// Throws std::invalid_argument for an unknown control, tarvex::Error for what the form refuses.
void playAction(ui::Form& form, const Action& action, std::ostream& out);

// The help text listing the actions (German).
const char* actionsHelp();

}  // namespace tarvex::cli
