// tarvex init VERZEICHNIS: the demo database and invoice, never overwriting anything.
#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>

#include "commands.h"
#include "data_files.h"
#include "demo_database.h"

namespace tarvex::cli {

namespace {

constexpr const char* kHelp =
    "Aufruf: tarvex init VERZEICHNIS\n\n"
    "Legt im Verzeichnis die Demo-Datenbank lumora.sqlite (Benutzer 1, Rechnung 1 mit\n"
    "Rechnungsdatum, Satz für das Zahlungsziel) und die Rechnungsvorlage rechnung.docx an.\n"
    "Vorhandene Dateien werden nie überschrieben; das Verzeichnis wird bei Bedarf angelegt.\n"
    "Schema und Vorlage kommen aus $TARVEX_DATADIR oder dem Datenordner der Installation\n"
    "(share/tarvex), sonst aus dem Programm selbst.\n";

// Writes the bytes to a new file beside the target and renames it into place, so that a
// failure never leaves a half-written file under the final name.
void writeNewFile(const std::filesystem::path& target, const std::string& bytes) {
    const std::filesystem::path temp = target.string() + ".neu";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::filesystem::remove(temp);
            throw std::runtime_error("Datei kann nicht geschrieben werden: " + target.string());
        }
    }
    std::filesystem::rename(temp, target);
}

}  // namespace

int runInit(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kHelp;
        return 0;
    }
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        err << "tarvex init: genau ein Verzeichnis erwartet. Hilfe: tarvex init --help\n";
        return 2;
    }
    const std::filesystem::path dir = args[0];
    const auto database = dir / "lumora.sqlite";
    const auto document = dir / "rechnung.docx";
    for (const auto& file : {database, document}) {
        if (std::filesystem::exists(file)) {
            err << "tarvex init: " << file.string()
                << " existiert bereits und wird nicht überschrieben.\n";
            return 2;
        }
    }
    std::filesystem::create_directories(dir);
    const std::string invoice = invoiceTemplate();
    createDemoDatabase(database.string());
    try {
        writeNewFile(document, invoice);
    } catch (...) {
        std::filesystem::remove(database);
        throw;
    }
    out << "Angelegt: " << database.string() << "\n";
    out << "Angelegt: " << document.string() << "\n";
    return 0;
}

}  // namespace tarvex::cli
