#pragma once
// Internal state of an open document: the package, its parsed XML parts, the stories with their
// character model and live ranges, and the selection. Not part of the public interface.

#include <cstdint>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/word/package.h"
#include "platform/word/word.h"

namespace tarvex::word::detail {

inline pugi::xml_node toNode(const XmlNode* n) {
    return pugi::xml_node(reinterpret_cast<pugi::xml_node_struct*>(const_cast<XmlNode*>(n)));
}
inline const XmlNode* toRef(pugi::xml_node n) {
    return reinterpret_cast<const XmlNode*>(n.internal_object());
}

inline constexpr const char* kWordNs =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

// One parsed XML part. Removed elements are moved under `graveyard` instead of being freed, so
// handles onto them stay safe to test (they simply are no longer part of the document).
struct XmlPart {
    std::string name;  // zip entry name, no leading '/'
    pugi::xml_document doc;
    pugi::xml_node graveyard;
    bool dirty = false;
    bool isNew = false;
    std::string contentType;  // for new parts

    pugi::xml_node root() const { return doc.document_element(); }
    // Moves `n` out of the document (keeps its memory alive).
    void discard(pugi::xml_node n);
    // True when `n` is still inside the document tree.
    bool contains(pugi::xml_node n) const;
    std::string serialize() const;
};

// Parses part bytes with the hostile-input checks; raises 5792 naming the part.
std::unique_ptr<XmlPart> parsePart(const std::string& name, const std::string& bytes);
std::unique_ptr<XmlPart> newPart(const std::string& name, const std::string& xml,
                                 const std::string& contentType);

enum class AtomKind { Char, ParaMark, CellMark, RowMark, Ref };

// One position item of a story's character model.
struct Atom {
    AtomKind kind;
    pugi::xml_node node;    // w:t / special run child / w:p / w:tc / w:tr / w:commentReference
    std::uint32_t off = 0;  // byte offset inside a w:t
    std::uint32_t len = 0;  // byte length inside a w:t
    char32_t ch = 0;
    pugi::xml_node para;  // paragraph the item belongs to (a cell mark: the cell's last one)

    bool visible() const { return kind != AtomKind::Ref; }
};

class Story;

// Items [first, end) of a table, row or cell, as the flattening emitted them.
struct ContainerSpan {
    pugi::xml_node_struct* node;
    long first;
    long end;
};

struct RangeState {
    // Keeps the document alive while a handle exists; empty for the selection's own ranges,
    // which the document itself holds (owning them would make a cycle).
    std::shared_ptr<DocState> doc;
    Story* story = nullptr;
    long start = 0;
    long end = 0;
};

class Story {
  public:
    Story(DocState& doc, XmlPart& part, pugi::xml_node root)
        : doc_(doc), part_(part), root_(root) {}

    const std::vector<Atom>& atoms();
    long size() { return static_cast<long>(atoms().size()); }
    void invalidate() { valid_ = false; }
    // Marks the part changed and drops the cached model.
    void touched();
    std::shared_ptr<RangeState> makeRange(long start, long end);
    // After an edit at `at` that replaced `removed` items with `inserted` ones: positions inside
    // the removed stretch move to `at`, positions at or after its end move by the difference.
    void shift(long at, long removed, long inserted, const RangeState* actor = nullptr);
    // First and one-past-last item index that belongs to `container` (a table, row or cell);
    // {0, 0} when no item does.
    std::pair<long, long> span(pugi::xml_node container);
    std::string text(long start, long end);

    pugi::xml_node root() const { return root_; }
    XmlPart& part() { return part_; }
    DocState& doc() { return doc_; }
    bool alive() const { return part_.contains(root_); }

  private:
    DocState& doc_;
    XmlPart& part_;
    pugi::xml_node root_;
    std::vector<Atom> atoms_;
    bool valid_ = false;
    std::vector<std::weak_ptr<RangeState>> ranges_;
    // Item spans of the tables, rows and cells, recorded while flattening (cheap) and indexed
    // on the first span() after a rebuild, so that looking up many cells stays linear overall.
    std::vector<ContainerSpan> containers_;
    std::unordered_map<pugi::xml_node_struct*, std::pair<long, long>> spanIndex_;
    bool spanIndexValid_ = false;
    std::pair<long, long> scanSpan(pugi::xml_node container);
};

struct SelectionState {
    std::vector<std::shared_ptr<RangeState>> ranges;  // never owning the document
    pugi::xml_node shape;                             // wp:anchor when a shape is selected

    // Makes `ranges` the selection.
    void select(std::vector<std::shared_ptr<RangeState>> chosen) {
        for (auto& r : chosen) r->doc.reset();
        ranges = std::move(chosen);
        shape = pugi::xml_node();
    }
};

class DocState : public std::enable_shared_from_this<DocState> {
  public:
    Package package;
    std::unique_ptr<XmlPart> contentTypes;
    std::unique_ptr<XmlPart> mainPart;
    std::unique_ptr<XmlPart> mainRels;  // may be null until a relationship is added
    std::unique_ptr<XmlPart> comments;  // null when the document has none
    std::vector<std::unique_ptr<XmlPart>> commentsExtra;  // extended/ids/extensible parts
    std::unique_ptr<XmlPart> settings;                    // parsed on demand
    std::string path;
    SelectionState selection;

    Story& body();
    Story& storyOf(pugi::xml_node root, XmlPart& part);
    std::vector<XmlPart*> allParts();
    bool dirty() const;
    void markSaved();

    // Checks that `n` still belongs to its part; raises 5825 otherwise.
    void requireAlive(pugi::xml_node n, const XmlPart& part) const;

    // Comment entries. The entry for `id` (the first one when ids repeat); null when none.
    pugi::xml_node commentEntry(const std::string& id) const;
    // Must follow every change to the comments part's list of entries.
    void commentsChanged() { commentIndexValid_ = false; }
    XmlPart& ensureCommentsPart();
    // Removes the comment `id` everywhere (body marks, entry, extended entries, replies).
    void removeComment(const std::string& id);
    long nextCommentId() const;

    // Adds a part with content type override and a relationship from the main part.
    void addRelatedPart(XmlPart& part, const std::string& relType, const std::string& target);
    XmlPart& ensureSettings();

    std::string mainFolder() const;  // "word/"

  private:
    std::map<pugi::xml_node_struct*, std::unique_ptr<Story>> stories_;
    // Entries by id, built on the first lookup after a change: invoices look up one entry per
    // comment mark, and a linear search each time made walking all marks quadratic.
    mutable std::unordered_map<std::string, pugi::xml_node> commentIndex_;
    mutable bool commentIndexValid_ = false;
};

// Opens the package: every check of hostile input happens here.
std::shared_ptr<DocState> loadDocState(std::span<const std::uint8_t> bytes);
// The package bytes with changed parts rewritten.
std::vector<std::uint8_t> saveDocState(DocState& state);

// Rows of a table and cells of a row, looking through content-control/custom-XML wrappers.
std::vector<pugi::xml_node> rowsOf(pugi::xml_node tbl);
std::vector<pugi::xml_node> cellsOf(pugi::xml_node tr);
std::string resolveTarget(const std::string& sourceFolder, const std::string& target);

[[noreturn]] void raise(int number, const std::string& text);
[[noreturn]] void badDocument(const std::string& text);

}  // namespace tarvex::word::detail
