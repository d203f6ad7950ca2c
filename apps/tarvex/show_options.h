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
    int warten = 10;                  // seconds to wait for the database's write lock
    std::vector<Action> actions;
};

// Parses the arguments (and reads the script file or standard input for --script). Throws
// std::invalid_argument with a German message for anything it cannot use, also for a script
// line longer than kMaxScriptLine bytes or more than kMaxActions actions in all.
inline constexpr std::size_t kMaxScriptLine = 64 * 1024;
inline constexpr std::size_t kMaxActions = 100000;
ShowOptions parseShowOptions(const Arguments& args);

const char* showHelp();

}  // namespace tarvex::cli
