// tarvex dump: what a document holds, for people (text) and tests (JSON).
#include <cmath>
#include <cstdio>
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

// What the command shows, gathered once and printed as text or JSON.
struct CellData {
    std::string text;
    std::vector<std::string> comments;
    bool bold = false;
};
struct CommentData {
    std::string text, after;
};
struct ShapeData {
    std::string name, text, alignment;
    double topPt = 0;
};
struct DumpData {
    std::vector<std::vector<std::vector<CellData>>> tables;  // table, row, cell
    std::vector<CommentData> comments;
    std::vector<ShapeData> shapes;
};

DumpData collect(Document& doc) {
    DumpData result;
    Tables tables = doc.Tables();
    for (long t = 1; t <= tables.Count(); ++t) {
        Table table = tables.Item(t);
        auto& rows = result.tables.emplace_back();
        for (long r = 1; r <= table.Rows().Count(); ++r) {
            auto& row = rows.emplace_back();
            for (long c = 1; c <= table.Rows().Item(r).CellCount(); ++c) {
                Cell cell = table.Cell(r, c);
                CellData data;
                Comments marks = cell.Range().Comments();
                for (long k = 1; k <= marks.Count(); ++k)
                    data.comments.push_back(marks.Item(k).Text());
                data.text = cellText(cell);
                data.bold = cell.Range().Bold();
                row.push_back(std::move(data));
            }
        }
    }
    Comments comments = doc.Comments();
    for (long i = 1; i <= comments.Count(); ++i) {
        Comment c = comments.Item(i);
        if (insideTable(c)) continue;  // shown with their cells
        Range after = c.Reference();
        after.Collapse(CollapseDirection::End);
        after.MoveEnd(kWindow);
        result.comments.push_back({c.Text(), after.Text()});
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
        result.shapes.push_back({s.Name(), text, alignment, std::round(s.Top() * 10.0) / 10.0});
    }
    return result;
}

// Well-formed UTF-8 as JSON requires it (no overlong forms, surrogates or code points past
// U+10FFFF).
bool validUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t need;
        unsigned char low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            need = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need = 2;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            need = 3;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + need >= text.size()) return false;  // cut off at the end
        for (std::size_t k = 1; k <= need; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if (k == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF)) return false;
        }
        i += need + 1;
    }
    return true;
}

// A JSON string as nlohmann::json writes it (UTF-8 kept, control characters escaped); text
// that is not valid UTF-8 goes through the library, which rejects it as it always did.
void jsonString(const std::string& text, std::ostream& out) {
    if (!validUtf8(text)) {
        out << ordered_json(text).dump();
        return;
    }
    std::string escaped;
    escaped.reserve(text.size() + 2);
    escaped += '"';
    for (char c : text) {
        switch (c) {
            case '"': escaped += "\\\""; break;
            case '\\': escaped += "\\\\"; break;
            case '\b': escaped += "\\b"; break;
            case '\f': escaped += "\\f"; break;
            case '\n': escaped += "\\n"; break;
            case '\r': escaped += "\\r"; break;
            case '\t': escaped += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned char>(c));
                    escaped += code;
                } else {
                    escaped += c;
                }
        }
    }
    escaped += '"';
    out << escaped;
}

// The same line `ordered_json::dump()` of the gathered data printed, written without building
// the JSON tree first.
void printJson(const DumpData& data, std::ostream& out) {
    out << "{\"tables\":[";
    for (std::size_t t = 0; t < data.tables.size(); ++t) {
        out << (t ? "," : "") << "{\"rows\":[";
        for (std::size_t r = 0; r < data.tables[t].size(); ++r) {
            out << (r ? "," : "") << "[";
            for (std::size_t c = 0; c < data.tables[t][r].size(); ++c) {
                const CellData& cell = data.tables[t][r][c];
                out << (c ? "," : "") << "{\"text\":";
                jsonString(cell.text, out);
                out << ",\"comments\":[";
                for (std::size_t k = 0; k < cell.comments.size(); ++k) {
                    if (k) out << ",";
                    jsonString(cell.comments[k], out);
                }
                out << "],\"bold\":" << (cell.bold ? "true" : "false") << "}";
            }
            out << "]";
        }
        out << "]}";
    }
    out << "],\"comments\":[";
    for (std::size_t i = 0; i < data.comments.size(); ++i) {
        out << (i ? "," : "") << "{\"text\":";
        jsonString(data.comments[i].text, out);
        out << ",\"after\":";
        jsonString(data.comments[i].after, out);
        out << "}";
    }
    out << "],\"shapes\":[";
    for (std::size_t i = 0; i < data.shapes.size(); ++i) {
        const ShapeData& s = data.shapes[i];
        out << (i ? "," : "") << "{\"name\":";
        jsonString(s.name, out);
        out << ",\"text\":";
        jsonString(s.text, out);
        out << ",\"top_pt\":" << ordered_json(s.topPt).dump() << ",\"alignment\":";
        jsonString(s.alignment, out);
        out << "}";
    }
    out << "]}";
}

void printText(const DumpData& data, std::ostream& out) {
    long number = 0;
    for (const auto& table : data.tables) {
        out << "Tabelle " << ++number << " (" << table.size() << " Zeilen)\n";
        for (const auto& row : table) {
            out << " ";
            bool first = true;
            for (const auto& cell : row) {
                out << (first ? " " : " | ") << readable(cell.text);
                first = false;
                if (!cell.comments.empty()) {
                    out << " {";
                    bool firstComment = true;
                    for (const auto& c : cell.comments) {
                        out << (firstComment ? "" : ", ") << readable(c);
                        firstComment = false;
                    }
                    out << "}";
                }
            }
            out << "\n";
        }
    }
    out << "Kommentare\n";
    for (const auto& c : data.comments)
        out << "  " << readable(c.text) << ": \"" << readable(c.after) << "\"\n";
    out << "Textfelder\n";
    for (const auto& s : data.shapes)
        out << "  " << s.name << ": \"" << readable(s.text) << "\" (oben " << s.topPt << " pt, "
            << s.alignment << ")\n";
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
    DumpData data;
    try {
        auto doc = Document::Open(file);
        data = collect(*doc);
    } catch (const Error& e) {
        err << "tarvex dump: " << file << ": " << e.description() << "\n";
        return 2;
    }
    if (json) {
        printJson(data, out);
        out << "\n";
    } else
        printText(data, out);
    return 0;
}

}  // namespace tarvex::cli
