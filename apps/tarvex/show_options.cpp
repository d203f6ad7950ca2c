#include "show_options.h"

#include <fstream>
#include <iostream>
#include <limits>
#include <stdexcept>

namespace tarvex::cli {

namespace {

int wholeNumber(const std::string& text, const std::string& option, long low, long high) {
    try {
        std::size_t used = 0;
        const long value = std::stol(text, &used);
        if (used == text.size() && value >= low && value <= high) return static_cast<int>(value);
    } catch (const std::exception&) {
    }
    throw std::invalid_argument(option + " erwartet eine ganze Zahl von " + std::to_string(low) +
                                " bis " + std::to_string(high) + ", nicht \"" + text + "\"");
}

void addScript(std::istream& in, ShowOptions& o) {
    std::string line;
    while (std::getline(in, line))
        if (auto action = parseAction(line)) o.actions.push_back(*action);
}

}  // namespace

ShowOptions parseShowOptions(const Arguments& args) {
    ShowOptions o;
    std::optional<int> index;
    bool haveDatabase = false, haveDocument = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw std::invalid_argument(a + " erwartet einen Wert");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
            return o;
        } else if (a == "--db") {
            o.database = value();
            haveDatabase = true;
        } else if (a == "--doc") {
            o.document = value();
            haveDocument = true;
        } else if (a == "--user") {
            o.user = wholeNumber(value(), a, std::numeric_limits<int>::min(),
                                 std::numeric_limits<int>::max());
        } else if (a == "--rechnung") {
            o.rechnung = wholeNumber(value(), a, std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max());
        } else if (a == "--wahl") {
            const std::string& w = value();
            if (w != "neu" && w != "cursor" && w != "schliessen" &&
                !(w.size() == 1 && w[0] >= '1' && w[0] <= '5'))
                throw std::invalid_argument("--wahl erwartet neu, 1 bis 5, cursor oder schliessen, "
                                            "nicht \"" + w + "\"");
            o.wahl = w;
        } else if (a == "--cursor") {
            o.cursor = wholeNumber(value(), a, 1, std::numeric_limits<int>::max());
        } else if (a == "-e") {
            if (auto action = parseAction(value())) o.actions.push_back(*action);
        } else if (a == "--script") {
            const std::string& file = value();
            if (file == "-") {
                addScript(std::cin, o);
            } else {
                std::ifstream in(file);
                if (!in) throw std::invalid_argument("Skript kann nicht gelesen werden: " + file);
                addScript(in, o);
            }
        } else if (!a.empty() && a[0] == '-' && !(a.size() > 1 && std::isdigit(static_cast<unsigned char>(a[1])))) {
            throw std::invalid_argument("unbekannte Option \"" + a + "\"");
        } else if (!index) {
            index = wholeNumber(a, "INDEX", -32768, 32767);
        } else {
            throw std::invalid_argument("überzähliges Argument \"" + a + "\"");
        }
    }
    if (!index) throw std::invalid_argument("INDEX fehlt (0 bis 4)");
    if (!haveDatabase) throw std::invalid_argument("--db DATEI fehlt");
    if (!haveDocument) throw std::invalid_argument("--doc DATEI fehlt");
    o.index = *index;
    return o;
}

const char* showHelp() {
    return "Aufruf: tarvex show INDEX --db DATEI --doc DATEI [--user N] [--rechnung ID]\n"
           "                   [--wahl ANTWORT] [--cursor N] [-e AKTION]... [--script DATEI|-]\n\n"
           "Öffnet Datenbank und Rechnung wie das Büroprogramm, ruft das Gebührenfenster auf und\n"
           "spielt die Aktionen darauf ab. Nach \"ok\" wird die Rechnung gespeichert und erst danach\n"
           "der Rechnungsdatensatz in der Datenbank; nach \"cancel\" oder ohne \"ok\" wird nichts\n"
           "geschrieben.\n\n"
           "  INDEX            0 Grenzfeststellung (30.6), 1 Gebäudeaufnahme (30.4),\n"
           "                   2 Lang gestreckte Anlagen (30.3), 3 Baulandumlegung (30.2),\n"
           "                   4 Zerlegung (30.1)\n"
           "  --db DATEI       die Datenbank des Büroprogramms (SQLite)\n"
           "  --doc DATEI      die Rechnung (.docx)\n"
           "  --user N         Benutzernummer für TempDoc (Vorgabe 1)\n"
           "  --rechnung ID    der Rechnungsdatensatz mit dieser ID_Rechnungsnummer\n"
           "  --wahl ANTWORT   Antwort auf die Tabellenwahl, falls sie erscheint: neu, 1 bis 5,\n"
           "                   cursor oder schliessen (Schließfeld); ohne --wahl wird die\n"
           "                   Vorauswahl bestätigt\n"
           "  --cursor N       setzt den Cursor vor dem Aufruf in die N-te Tabelle\n"
           "  -e AKTION        eine Aktion (mehrfach möglich)\n"
           "  --script DATEI   Aktionen zeilenweise aus DATEI, \"-\" für die Standardeingabe\n\n"
           "Rückgabewert: 0 Erfolg, 1 Rechnung konnte nicht gespeichert werden,\n"
           "2 falsche Angaben oder unbrauchbare Datei.\n\n";
}

}  // namespace tarvex::cli
