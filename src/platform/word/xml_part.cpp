// Parsing and writing XML parts without losing anything the document had.
#include <cstring>

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

std::unique_ptr<XmlPart> parsePart(const std::string& name, const std::string& bytes) {
    // pugixml never expands entities beyond the five predefined ones, but a document type
    // declaration has no business in a package part: refuse it outright.
    if (bytes.find("<!DOCTYPE") != std::string::npos || bytes.find("<!ENTITY") != std::string::npos)
        badDocument(
            "Der Teil " + name +
            " enthält eine DOCTYPE- oder ENTITY-Deklaration; die Datei wird nicht geöffnet.");
    auto part = std::make_unique<XmlPart>();
    part->name = name;
    pugi::xml_parse_result result =
        part->doc.load_buffer(bytes.data(), bytes.size(), kParseFlags, pugi::encoding_auto);
    if (!result)
        badDocument("Fehlerhaftes XML im Teil " + name + ": " + result.description() + " (Byte " +
                    std::to_string(result.offset) + ").");
    if (!part->root()) badDocument("Der Teil " + name + " enthält kein Wurzelelement.");
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
