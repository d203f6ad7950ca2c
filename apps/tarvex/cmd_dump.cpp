// tarvex dump: what a document holds, for people (text) and tests (JSON).
#include <cmath>
#include <nlohmann/json.hpp>
#include <ostream>

#include "commands.h"
#include "platform/word/word.h"

namespace tarvex::cli {

namespace {

using nlohmann::ordered_json;
using namespace tarvex::word;

constexpr const char* kHelp =
    "Aufruf: tarvex dump DATEI [--json]\n\n"
    "Zeigt, was ein Word-Dokument enthält: alle Tabellen Zelle für Zelle mit ihren\n"
    "Kommentaren, die Kommentare im Text mit den 15 Zeichen nach ihrer Marke und die\n"
    "Textfelder mit Text, Lage und Ausrichtung. Das Dokument wird nicht verändert.\n\n"
    "  --json   dasselbe als eine Zeile JSON (für Skripte und Tests)\n";

// How many characters after a marker's reference mark are shown (the totals update reads 15).
constexpr long kWindow = 15;

std::string cellText(Cell cell) {
    std::string text = cell.Range().Text();
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\a") == 0)
        text.resize(text.size() - 2);
    return text;
}

std::string readable(std::string text) {
    std::string out;
    for (char c : text) out += c == '\r' ? std::string("⏎") : std::string(1, c);
    return out;
}

bool insideTable(Comment c) { return c.Reference().Tables().Count() > 0; }

ordered_json collect(Document& doc) {
    ordered_json result = {{"tables", ordered_json::array()},
                           {"comments", ordered_json::array()},
                           {"shapes", ordered_json::array()}};
    Tables tables = doc.Tables();
    for (long t = 1; t <= tables.Count(); ++t) {
        Table table = tables.Item(t);
        ordered_json rows = ordered_json::array();
        for (long r = 1; r <= table.Rows().Count(); ++r) {
            ordered_json row = ordered_json::array();
            for (long c = 1; c <= table.Rows().Item(r).CellCount(); ++c) {
                Cell cell = table.Cell(r, c);
                ordered_json comments = ordered_json::array();
                Comments marks = cell.Range().Comments();
                for (long k = 1; k <= marks.Count(); ++k) comments.push_back(marks.Item(k).Text());
                row.push_back({{"text", cellText(cell)},
                               {"comments", comments},
                               {"bold", cell.Range().Bold()}});
            }
            rows.push_back(row);
        }
        result["tables"].push_back({{"rows", rows}});
    }
    Comments comments = doc.Comments();
    for (long i = 1; i <= comments.Count(); ++i) {
        Comment c = comments.Item(i);
        if (insideTable(c)) continue;  // shown with their cells
        Range after = c.Reference();
        after.Collapse(CollapseDirection::End);
        after.MoveEnd(kWindow);
        result["comments"].push_back({{"text", c.Text()}, {"after", after.Text()}});
    }
    Shapes shapes = doc.Shapes();
    for (long i = 1; i <= shapes.Count(); ++i) {
        Shape s = shapes.Item(i);
        std::string text, alignment = "left";
        try {
            Range box = s.TextRange();
            text = box.Text();
            Alignment a = box.ParagraphAlignment();
            alignment = a == Alignment::Center  ? "center"
                        : a == Alignment::Right ? "right"
                                                : "left";
        } catch (const Error&) {
            continue;  // pictures and other shapes without text
        }
        if (s.Name().empty()) continue;
        result["shapes"].push_back({{"name", s.Name()},
                                    {"text", text},
                                    {"top_pt", std::round(s.Top() * 10.0) / 10.0},
                                    {"alignment", alignment}});
    }
    return result;
}

void printText(const ordered_json& data, std::ostream& out) {
    long number = 0;
    for (const auto& table : data["tables"]) {
        out << "Tabelle " << ++number << " (" << table["rows"].size() << " Zeilen)\n";
        for (const auto& row : table["rows"]) {
            out << " ";
            bool first = true;
            for (const auto& cell : row) {
                out << (first ? " " : " | ") << readable(cell["text"].get<std::string>());
                first = false;
                if (!cell["comments"].empty()) {
                    out << " {";
                    bool firstComment = true;
                    for (const auto& c : cell["comments"]) {
                        out << (firstComment ? "" : ", ") << readable(c.get<std::string>());
                        firstComment = false;
                    }
                    out << "}";
                }
            }
            out << "\n";
        }
    }
    out << "Kommentare\n";
    for (const auto& c : data["comments"])
        out << "  " << readable(c["text"].get<std::string>()) << ": \""
            << readable(c["after"].get<std::string>()) << "\"\n";
    out << "Textfelder\n";
    for (const auto& s : data["shapes"])
        out << "  " << s["name"].get<std::string>() << ": \""
            << readable(s["text"].get<std::string>()) << "\" (oben " << s["top_pt"].get<double>()
            << " pt, " << s["alignment"].get<std::string>() << ")\n";
}

}  // namespace

int runDump(const Arguments& args, std::ostream& out, std::ostream& err) {
    std::string file;
    bool json = false;
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            out << kHelp;
            return 0;
        } else if (a == "--json") {
            json = true;
        } else if (!a.empty() && a[0] == '-') {
            err << "tarvex dump: unbekannte Option \"" << a << "\"\n";
            return 2;
        } else if (file.empty()) {
            file = a;
        } else {
            err << "tarvex dump: nur eine Datei angeben\n";
            return 2;
        }
    }
    if (file.empty()) {
        err << "tarvex dump: Datei fehlt. Aufruf: tarvex dump DATEI [--json]\n";
        return 2;
    }
    ordered_json data;
    try {
        auto doc = Document::Open(file);
        data = collect(*doc);
    } catch (const Error& e) {
        err << "tarvex dump: " << file << ": " << e.description() << "\n";
        return 2;
    }
    if (json)
        out << data.dump() << "\n";
    else
        printText(data, out);
    return 0;
}

}  // namespace tarvex::cli
