#pragma once
// The subcommands of the command-line host. Each takes its arguments (without the command
// name), writes its result to `out` and problems to `err`, and returns the exit code:
// 0 success, 2 unusable input (one clear German line on `err`).

#include <iosfwd>
#include <string>
#include <vector>

namespace tarvex::cli {

using Arguments = std::vector<std::string>;

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const Arguments& args, std::ostream& out, std::ostream& err);
};

// tarvex init VERZEICHNIS: demo database and invoice template, never overwriting.
int runInit(const Arguments& args, std::ostream& out, std::ostream& err);
// tarvex show INDEX ...: the host's part around one calculator window.
int runShow(const Arguments& args, std::ostream& out, std::ostream& err);
// tarvex dump DATEI [--json]: tables, marker comments and text boxes of a document.
int runDump(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace tarvex::cli
