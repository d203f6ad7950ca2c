// tarvex: the command-line host. Finds the subcommand and hands it its arguments.
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
        try {
            return c.run(args, std::cout, std::cerr);
        } catch (const std::exception& e) {
            std::cerr << "tarvex " << name << ": " << e.what() << "\n";
            return 2;
        }
    }
    std::cerr << "tarvex: unbekannter Befehl \"" << name << "\". Hilfe: tarvex --help\n";
    return 2;
}
