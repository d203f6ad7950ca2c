// Opening and saving the package: relationships, content types, the main part and the comment
// parts, with every check of foreign input in one place.
#include <algorithm>
#include <cctype>
#include <map>

#include "platform/word/doc_state.h"

namespace tarvex::word::detail {

namespace {

constexpr const char* kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kStrictRelNs = "http://purl.oclc.org/ooxml/officeDocument/relationships/";

std::string percentDecode(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() &&
            std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out.push_back(static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

std::string folderOf(const std::string& partName) {
    auto slash = partName.rfind('/');
    return slash == std::string::npos ? "" : partName.substr(0, slash + 1);
}

std::string relsNameOf(const std::string& partName) {
    auto slash = partName.rfind('/');
    std::string folder = slash == std::string::npos ? "" : partName.substr(0, slash + 1);
    std::string file = slash == std::string::npos ? partName : partName.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

std::unique_ptr<XmlPart> loadPart(Package& package, const std::string& name, bool required) {
    const PackageEntry* entry = package.find(name);
    if (!entry) {
        if (required) badDocument("Dem Dokument fehlt der Teil " + name + ".");
        return nullptr;
    }
    return parsePart(entry->name, package.read(*entry));
}

// The content type of a part: its Override, else the Default for its extension.
std::string contentTypeOf(const XmlPart& types, const std::string& partName) {
    std::string wanted(1, '/');  // append(): gcc 12 -O3 misreports "/" + std::string&&
    wanted.append(lowerAscii(partName));
    for (pugi::xml_node o : types.root().children("Override"))
        if (lowerAscii(o.attribute("PartName").value()) == wanted)
            return o.attribute("ContentType").value();
    const auto dot = partName.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : lowerAscii(partName.substr(dot + 1));
    for (pugi::xml_node d : types.root().children("Default"))
        if (lowerAscii(d.attribute("Extension").value()) == extension)
            return d.attribute("ContentType").value();
    return "";
}

// The parts the engine reads or writes besides the main part, by relationship type: the role's
// name in messages and the ending its content type must have.
struct Role {
    const char* type;  // ending of the relationship type
    const char* name;
    const char* contentType;  // ending of the content type
};
constexpr Role kRoles[] = {
    {"/relationships/comments", "Kommentare", "wordprocessingml.comments+xml"},
    {"/relationships/commentsExtended", "erweiterte Kommentare", "commentsExtended+xml"},
    {"/relationships/commentsIds", "Kommentar-IDs", "commentsIds+xml"},
    {"/relationships/commentsExtensible", "Kommentar-Erweiterungen", "commentsExtensible+xml"},
    {"/relationships/settings", "Einstellungen", "wordprocessingml.settings+xml"},
};

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Each role must name a part of its own: not the main part, not a relationships or
// content-types part, not a part another role names, and of the role's content type (or plain
// XML).
// Otherwise edits of one role would land in another part, or in the package's bookkeeping.
void checkRoles(const DocState& state) {
    const std::string folder = folderOf(state.mainPart->name);
    std::map<std::string, const Role*> taken{{lowerAscii(state.mainPart->name), nullptr}};
    for (pugi::xml_node rel : state.mainRels->root().children("Relationship")) {
        if (std::string(rel.attribute("TargetMode").value()) == "External") continue;
        const std::string type = rel.attribute("Type").value();
        const Role* role = nullptr;
        for (const Role& r : kRoles)
            if (endsWith(type, r.type)) role = &r;
        if (!role) continue;
        const std::string target = resolveTarget(folder, rel.attribute("Target").value());
        const std::string key = lowerAscii(target);
        auto malformed = [&](const std::string& why) {
            badDocument("Das Paket ist fehlerhaft: Der Teil für " + std::string(role->name) +
                        " (" + target + ") " + why + "; die Datei wird nicht geöffnet.");
        };
        if (key == "[content_types].xml" || endsWith(key, ".rels"))
            malformed("ist ein Verwaltungsteil des Pakets");
        if (auto other = taken.find(key); other != taken.end() && other->second != role)
            malformed(other->second ? "ist zugleich der Teil für " + std::string(other->second->name)
                                    : "ist das Hauptdokument");
        taken[key] = role;
        if (!state.package.find(target)) continue;
        // Some writers leave such parts to the generic XML default; that is tolerated, another
        // part's type is not.
        const std::string contentType = contentTypeOf(*state.contentTypes, target);
        if (!endsWith(contentType, role->contentType) && contentType != "application/xml" &&
            contentType != "text/xml")
            malformed("hat den Inhaltstyp \"" + contentType + "\"");
    }
}

}  // namespace

// Resolves a relationship target relative to the folder of its source part.
std::string resolveTarget(const std::string& sourceFolder, const std::string& target) {
    std::string t = percentDecode(target);
    std::string path = (!t.empty() && t[0] == '/') ? t.substr(1) : sourceFolder + t;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto slash = path.find('/', start);
        std::string piece =
            path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (piece == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!piece.empty() && piece != ".") {
            parts.push_back(piece);
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : "/") + p;
    return out;
}

[[noreturn]] void raise(int number, const std::string& text) { throw Error(number, text); }
[[noreturn]] void badDocument(const std::string& text) { raise(errc::badDocument, text); }

std::shared_ptr<DocState> loadDocState(std::unique_ptr<ReadableFile> file) {
    auto state = std::make_shared<DocState>();
    state->package.open(std::move(file));
    state->contentTypes = loadPart(state->package, "[Content_Types].xml", true);
    auto packageRels = loadPart(state->package, "_rels/.rels", true);

    std::string mainName;
    for (pugi::xml_node rel : packageRels->root().children("Relationship")) {
        std::string type = rel.attribute("Type").value();
        if (type.rfind(kStrictRelNs, 0) == 0)
            badDocument("Dokumente im Format \"Strict Open XML\" werden nicht unterstützt.");
        if (type == std::string(kRelNs) + "officeDocument")
            mainName = resolveTarget("", rel.attribute("Target").value());
    }
    if (mainName.empty()) badDocument("Das Paket enthält kein Word-Hauptdokument.");
    state->mainPart = loadPart(state->package, mainName, true);
    state->mainPart->name = state->package.find(mainName)->name;

    pugi::xml_node root = state->mainPart->root();
    if (std::string(root.name()) != "w:document" ||
        std::string(root.attribute("xmlns:w").value()) != kWordNs)
        badDocument("Der Hauptteil ist kein WordprocessingML-Dokument (Namensraum \"w\" fehlt).");
    if (!root.child("w:body")) badDocument("Dem Hauptdokument fehlt der Textkörper (w:body).");

    state->mainRels = loadPart(state->package, relsNameOf(state->mainPart->name), false);
    if (state->mainRels) checkRoles(*state);
    if (state->mainRels) {
        std::string folder = folderOf(state->mainPart->name);
        for (pugi::xml_node rel : state->mainRels->root().children("Relationship")) {
            if (std::string(rel.attribute("TargetMode").value()) == "External") continue;
            std::string type = rel.attribute("Type").value();
            std::string target = resolveTarget(folder, rel.attribute("Target").value());
            if (type == std::string(kRelNs) + "comments") {
                if (!state->comments) state->comments = loadPart(state->package, target, false);
            } else if (type.find("relationships/commentsExtended") != std::string::npos ||
                       type.find("relationships/commentsIds") != std::string::npos ||
                       type.find("relationships/commentsExtensible") != std::string::npos) {
                if (auto part = loadPart(state->package, target, false))
                    state->commentsExtra.push_back(std::move(part));
            }
        }
    }
    return state;
}

void saveDocState(DocState& state, WritableFile& out) {
    state.settleGrids();
    std::map<std::string, std::string> changed;
    for (XmlPart* part : state.allParts())
        if (part->dirty) changed[part->name] = part->serialize();
    state.package.write(changed, out);
}

std::string DocState::mainFolder() const { return folderOf(mainPart->name); }

std::vector<XmlPart*> DocState::allParts() {
    std::vector<XmlPart*> parts{contentTypes.get(), mainPart.get(), mainRels.get(), comments.get(),
                                settings.get()};
    for (auto& p : commentsExtra) parts.push_back(p.get());
    parts.erase(std::remove(parts.begin(), parts.end(), nullptr), parts.end());
    return parts;
}

bool DocState::dirty() const {
    for (XmlPart* part : const_cast<DocState*>(this)->allParts())
        if (part->dirty) return true;
    return false;
}

void DocState::markSaved() {
    for (XmlPart* part : allParts()) part->dirty = false;
}

void DocState::requireAlive(pugi::xml_node n, const XmlPart& part) const {
    if (!n || !part.contains(n)) raise(errc::objectDeleted, "Das Objekt wurde gelöscht.");
}

void DocState::addRelatedPart(XmlPart& part, const std::string& relType,
                              const std::string& target) {
    pugi::xml_node types = contentTypes->root();
    pugi::xml_node override = types.append_child("Override");
    override.append_attribute("PartName") = ("/" + part.name).c_str();
    override.append_attribute("ContentType") = part.contentType.c_str();
    contentTypes->dirty = true;

    if (!mainRels) {
        mainRels = newPart(relsNameOf(mainPart->name),
                           "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                           "relationships\"/>",
                           "");
    }
    // A fresh id: every existing id is compared, numeric or not.
    std::vector<std::string> ids;
    for (pugi::xml_node rel : mainRels->root().children("Relationship"))
        ids.emplace_back(rel.attribute("Id").value());
    long n = static_cast<long>(ids.size()) + 1;
    std::string id;
    do id = "rId" + std::to_string(n++);
    while (std::ranges::find(ids, id) != ids.end());
    pugi::xml_node rel = mainRels->root().append_child("Relationship");
    rel.append_attribute("Id") = id.c_str();
    rel.append_attribute("Type") = relType.c_str();
    rel.append_attribute("Target") = target.c_str();
    mainRels->dirty = true;
}

XmlPart& DocState::ensureSettings() {
    if (settings) return *settings;
    if (mainRels) {
        for (pugi::xml_node rel : mainRels->root().children("Relationship")) {
            if (std::string(rel.attribute("Type").value()) == std::string(kRelNs) + "settings") {
                std::string target = resolveTarget(mainFolder(), rel.attribute("Target").value());
                settings = loadPart(package, target, false);
                if (settings) return *settings;
            }
        }
    }
    settings =
        newPart(mainFolder() + "settings.xml",
                std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                            "<w:settings xmlns:w=\"") +
                    kWordNs + "\"/>",
                "application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml");
    addRelatedPart(*settings, std::string(kRelNs) + "settings", "settings.xml");
    return *settings;
}

Story& DocState::body() { return storyOf(mainPart->root().child("w:body"), *mainPart); }

Story& DocState::storyOf(pugi::xml_node root, XmlPart& part) {
    auto& slot = stories_[root.internal_object()];
    if (!slot) slot = std::make_unique<Story>(*this, part, root);
    return *slot;
}

}  // namespace tarvex::word::detail
