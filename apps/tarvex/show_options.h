#pragma once
// The options of `tarvex show`, parsed before anything is opened so that a typo never
// touches a file.

#include <optional>
#include <string>
#include <vector>

#include "actions.h"
#include "commands.h"

namespace tarvex::cli {

struct ShowOptions {
    bool help = false;
    int index = 0;
    std::string database;
    std::string document;
    int user = 1;
    std::optional<int> rechnung;
    std::optional<std::string> wahl;  // neu, 1..5, cursor, schliessen
    std::optional<int> cursor;        // 1-based table number
    std::vector<Action> actions;
};

// Parses the arguments (and reads the script file or standard input for --script). Throws
// std::invalid_argument with a German message for anything it cannot use.
ShowOptions parseShowOptions(const Arguments& args);

const char* showHelp();

}  // namespace tarvex::cli
