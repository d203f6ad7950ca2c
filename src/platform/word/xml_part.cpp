// Parsing and writing XML parts without losing anything the document had.
#include <cstring>
#include <string>
#include <string_view>

#include "platform/word/doc_state.h"

namespace tarvex::word::detail {

namespace {

constexpr const char* kGraveyard = "tarvex.removed";

// Keeps whitespace-only text (a blank in xml:space="preserve"), the declaration with its
// standalone flag, and comments/processing instructions as they were.
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single |
                                 pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};

// Real documents nest a few dozen elements deep (a text box in a table in a content control is
// about 30); a part nested deeper is refused once here, so that no walk over it can exhaust
// the stack or take quadratic time.
constexpr int kMaxDepth = 1000;

void checkDepth(XmlPart& part) {
    // pugixml's own walk goes without recursion and counts the depth itself.
    struct Deepest : pugi::xml_tree_walker {
        bool for_each(pugi::xml_node&) override { return depth() <= kMaxDepth; }
    } walker;
    if (!part.doc.traverse(walker))
        badDocument("Der Teil " + part.name + " ist zu tief verschachtelt (mehr als " +
                    std::to_string(kMaxDepth) + " Ebenen); die Datei wird nicht geöffnet.");
}

// A parsed element costs the engine about 190 bytes of memory through an OK (tree node, the
// counts of its paragraph, serialised copy; the items of a paragraph are only kept while it is
// read), so a part of tiny elements (an empty paragraph is six bytes) costs far more than its
// size. The elements are counted before parsing (start tags; UTF-16 zero bytes skipped) and a
// part with more than this many is refused, which bounds memory at about 0.8 GB whatever the
// part holds. One million paragraphs with a run of text each (3 million elements, measured at
// 570 MB for one OK) still open.
constexpr std::size_t kMaxElements = 4'000'000;

// True when the bytes from `at` on spell `word`, UTF-16 zero bytes skipped.
bool spells(const std::string& bytes, std::size_t at, std::string_view word) {
    for (char wanted : word) {
        while (at < bytes.size() && bytes[at] == '\0') ++at;
        if (at == bytes.size() || bytes[at] != wanted) return false;
        ++at;
    }
    return true;
}

// One pass over a part's bytes before parsing: counts the elements (start tags; UTF-16 zero
// bytes skipped) and refuses document type and entity declarations, which have no business in
// a package part (pugixml never expands entities beyond the five predefined ones).
void checkMarkup(const std::string& name, const std::string& bytes) {
    std::size_t elements = 0;
    for (std::size_t at = bytes.find('<'); at != std::string::npos; at = bytes.find('<', at + 1)) {
        std::size_t next = at + 1;
        while (next < bytes.size() && bytes[next] == '\0') ++next;
        if (next == bytes.size()) break;
        if (bytes[next] == '!') {
            if (spells(bytes, next + 1, "DOCTYPE") || spells(bytes, next + 1, "ENTITY"))
                badDocument("Der Teil " + name +
                            " enthält eine DOCTYPE- oder ENTITY-Deklaration; die Datei wird "
                            "nicht geöffnet.");
        } else if (bytes[next] != '/' && bytes[next] != '?') {
            ++elements;
        }
    }
    if (elements > kMaxElements)
        badDocument("Der Teil " + name + " ist zu groß: " + std::to_string(elements) +
                    " Elemente, höchstens " + std::to_string(kMaxElements) +
                    " erlaubt; die Datei wird nicht geöffnet.");
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// pugixml decodes UTF-16, UTF-32 and ISO-8859-1 (by byte order mark or declaration) and holds
// every part as UTF-8, which is how a changed part is written: its declaration is changed to
// say so. A declared encoding pugixml does not decode would have been read as UTF-8 and its
// text misread; such a part is refused unless its bytes are plain ASCII.
void declareUtf8(XmlPart& part, const std::string& bytes) {
    pugi::xml_node declaration = part.doc.first_child();
    if (declaration.type() != pugi::node_declaration) return;
    pugi::xml_attribute encoding = declaration.attribute("encoding");
    if (!encoding) return;
    const std::string declared = lower(encoding.value());
    static const char* const kDecoded[] = {"utf-8",    "utf8",     "utf-16",     "utf-16le",
                                           "utf-16be", "utf-32",   "utf-32le",   "utf-32be",
                                           "ucs-2",    "ucs-4",    "iso-8859-1", "iso8859-1",
                                           "latin1",   "latin-1"};
    bool decoded = false;
    for (const char* name : kDecoded) decoded = decoded || declared == name;
    if (!decoded) {
        for (unsigned char c : bytes)
            if (c >= 0x80)
                badDocument("Der Teil " + part.name + " ist in der Zeichenkodierung \"" +
                            encoding.value() + "\" gespeichert, die nicht unterstützt wird.");
    }
    encoding.set_value("UTF-8");
}

}  // namespace

void XmlPart::discard(pugi::xml_node n) {
    if (!graveyard) graveyard = doc.append_child(kGraveyard);
    graveyard.append_move(n);
}

bool XmlPart::contains(pugi::xml_node n) const {
    pugi::xml_node rootElement = root();
    for (pugi::xml_node p = n; p; p = p.parent())
        if (p == rootElement) return true;
    return false;
}

std::string XmlPart::serialize() const {
    StringWriter writer;
    for (pugi::xml_node child : doc.children()) {
        if (child == graveyard) continue;
        child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    }
    return writer.out;
}

namespace {

// True when the part declares UTF-8 (or nothing) in a plain UTF-8 prologue, as word processors
// write it. Such a part is parsed where its bytes lie; any other is parsed from a copy, so that
// its original bytes stay for the encoding check after parsing.
bool declaresUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (!bytes.starts_with("<?xml")) return false;
    const std::size_t end = bytes.substr(0, 1024).find("?>");
    if (end == std::string_view::npos) return false;
    const std::string_view declaration = bytes.substr(0, end);
    const std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return true;
    const std::size_t open = declaration.find_first_of("\"'", at);
    if (open == std::string_view::npos) return false;
    const std::size_t close = declaration.find(declaration[open], open + 1);
    if (close == std::string_view::npos) return false;
    const std::string value = lower(std::string(declaration.substr(open + 1, close - open - 1)));
    return value == "utf-8" || value == "utf8";
}

}  // namespace

std::unique_ptr<XmlPart> parsePart(const std::string& name, std::string bytes) {
    checkMarkup(name, bytes);
    auto part = std::make_unique<XmlPart>();
    part->name = name;
    pugi::xml_parse_result result;
    if (declaresUtf8(bytes)) {
        part->source = std::move(bytes);
        result = part->doc.load_buffer_inplace(part->source.data(), part->source.size(),
                                               kParseFlags, pugi::encoding_auto);
    } else {
        result = part->doc.load_buffer(bytes.data(), bytes.size(), kParseFlags,
                                       pugi::encoding_auto);
    }
    if (!result)
        badDocument("Fehlerhaftes XML im Teil " + name + ": " + result.description() + " (Byte " +
                    std::to_string(result.offset) + ").");
    if (!part->root()) badDocument("Der Teil " + name + " enthält kein Wurzelelement.");
    checkDepth(*part);
    // Reads the bytes only for an encoding pugixml does not decode, never one parsed in place.
    declareUtf8(*part, part->source.empty() ? bytes : part->source);
    return part;
}

std::unique_ptr<XmlPart> newPart(const std::string& name, const std::string& xml,
                                 const std::string& contentType) {
    auto part = parsePart(name, xml);
    part->isNew = true;
    part->dirty = true;
    part->contentType = contentType;
    return part;
}

}  // namespace tarvex::word::detail
