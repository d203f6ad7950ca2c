// tarvex: the command-line host. Finds the subcommand and hands it its arguments.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "commands.h"

namespace {

using tarvex::cli::Command;

const Command kCommands[] = {
    {"init", "tarvex init VERZEICHNIS",
     "legt Demo-Datenbank und Rechnungsvorlage an (überschreibt nichts)", tarvex::cli::runInit},
    {"show", "tarvex show INDEX --db DATEI --doc DATEI [OPTIONEN] [-e AKTION]...",
     "ruft ein Gebührenfenster auf, spielt Benutzeraktionen ab und speichert nach OK",
     tarvex::cli::runShow},
    {"dump", "tarvex dump DATEI [--json]",
     "zeigt Tabellen, Kommentare und Textfelder eines Word-Dokuments", tarvex::cli::runDump},
};

void printHelp(std::ostream& out) {
    out << "Aufruf: tarvex BEFEHL [ARGUMENTE]\n\nBefehle:\n";
    for (const Command& c : kCommands) out << "  " << c.usage << "\n      " << c.summary << "\n";
    out << "\n  tarvex --help\n      zeigt diese Hilfe\n"
           "  tarvex --version\n      zeigt die Version\n";
}

// A command has done its work and written its output: the process ends without running the
// destructors of the plug-in's module state, which would hand the invoice's memory back piece by
// piece just before the kernel takes all of it back at once (a noticeable part of a run on a
// long invoice). Nothing is left to write by then: the invoice is saved and the database
// committed, or the run has failed and said so. Builds with the leak checker end normally,
// so that it still sees everything.
[[noreturn]] void finish(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);  // C streams too: _Exit does not flush them
#if defined(__SANITIZE_ADDRESS__)
    std::exit(code);
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    std::exit(code);
#endif
#endif
    std::_Exit(code);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "tarvex: Befehl fehlt. Hilfe: tarvex --help\n";
        return 2;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printHelp(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "tarvex " << TARVEX_VERSION_TEXT << "\n";
        return 0;
    }
    for (const Command& c : kCommands) {
        if (name != c.name) continue;
        tarvex::cli::Arguments args(argv + 2, argv + argc);
        int code = 2;
        try {
            code = c.run(args, std::cout, std::cerr);
        } catch (const std::exception& e) {
            std::cerr << "tarvex " << name << ": " << e.what() << "\n";
        }
        finish(code);
    }
    std::cerr << "tarvex: unbekannter Befehl \"" << name << "\". Hilfe: tarvex --help\n";
    return 2;
}
