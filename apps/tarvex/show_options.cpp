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

void addAction(const std::string& text, ShowOptions& o) {
    auto action = parseAction(text);
    if (!action) return;
    if (o.actions.size() >= kMaxActions)
        throw std::invalid_argument("mehr als " + std::to_string(kMaxActions) + " Aktionen");
    o.actions.push_back(*action);
}

// Reads line by line without letting a line grow beyond the limit (a file without line
// breaks, such as /dev/zero, is refused after the first 64 KiB).
void addScript(std::istream& in, ShowOptions& o) {
    std::string line;
    std::size_t number = 0;
    for (;;) {
        line.clear();
        ++number;
        int c;
        while ((c = in.get()) != std::char_traits<char>::eof() && c != '\n') {
            if (line.size() >= kMaxScriptLine)
                throw std::invalid_argument("Skriptzeile " + std::to_string(number) +
                                            " ist länger als 64 KiB");
            line += static_cast<char>(c);
        }
        if (c == std::char_traits<char>::eof() && line.empty()) return;
        addAction(line, o);
        if (c == std::char_traits<char>::eof()) return;
    }
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
        } else if (a == "--warten") {
            o.warten = wholeNumber(value(), a, 0, 3600);
        } else if (a == "--cursor") {
            o.cursor = wholeNumber(value(), a, 1, std::numeric_limits<int>::max());
        } else if (a == "-e") {
            addAction(value(), o);
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
           "                   [--wahl ANTWORT] [--cursor N] [--warten SEKUNDEN]\n"
           "                   [-e AKTION]... [--script DATEI|-]\n\n"
           "Öffnet Datenbank und Rechnung wie das Büroprogramm, ruft das Gebührenfenster auf und\n"
           "spielt die Aktionen darauf ab. Nach \"ok\" wird die Rechnung gespeichert und erst danach\n"
           "der Rechnungsdatensatz in der Datenbank; nach \"cancel\" oder ohne \"ok\" wird nichts\n"
           "geschrieben. Eine früher unterbrochene Speicherung dieser Rechnung wird zuerst\n"
           "abgeschlossen.\n\n"
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
           "  --warten SEKUNDEN  so lange wird auf die Schreibsperre der Datenbank gewartet\n"
           "                   (Vorgabe 10, höchstens 3600); auf eine Rechnung, die ein anderer\n"
           "                   Lauf bearbeitet, wird 5 Sekunden gewartet\n"
           "  -e AKTION        eine Aktion (mehrfach möglich)\n"
           "  --script DATEI   Aktionen zeilenweise aus DATEI, \"-\" für die Standardeingabe\n"
           "                   (Zeilen bis 64 KiB, höchstens 100000 Aktionen)\n\n"
           "Rückgabewert:\n"
           "  0  Erfolg: Rechnung und Datensatz geschrieben (oder nichts zu schreiben)\n"
           "  1  nichts geschrieben: Rechnung oder Datenbank ließ sich nicht schreiben\n"
           "     (der Grund wird genannt)\n"
           "  2  falsche Angaben: Argumente, Datei oder Inhalt der Datenbank (etwa der Auftrag\n"
           "     in TempDoc) unbrauchbar; nichts geschrieben\n"
           "  3  belegt: Rechnung oder Datenbank länger als die Wartezeit von einem anderen\n"
           "     gesperrt; nichts geschrieben\n\n";
}

}  // namespace tarvex::cli
