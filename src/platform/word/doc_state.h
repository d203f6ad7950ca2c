#pragma once
// Internal state of an open document: the package, its parsed XML parts, the stories with their
// character model and live ranges, and the selection. Not part of the public interface.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/word/package.h"
#include "platform/word/walk.h"
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
    std::string source;  // the bytes a part parsed in place lives in (pugixml points into them)
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

// Parses part bytes with the hostile-input checks; raises 5792 naming the part. The bytes are
// kept by the part when it can be parsed where they lie.
std::unique_ptr<XmlPart> parsePart(const std::string& name, std::string bytes);
std::unique_ptr<XmlPart> newPart(const std::string& name, const std::string& xml,
                                 const std::string& contentType);

enum class AtomKind : std::uint8_t { Char, ParaMark, CellMark, RowMark, Ref };

// One position item of a story's character model.
struct Atom {
    pugi::xml_node node;  // w:t / special run child / w:p / w:tc / w:tr / w:commentReference
    pugi::xml_node para;  // paragraph the item belongs to (a cell mark: the cell's last one)
    std::uint32_t off = 0;  // byte offset inside a w:t
    char32_t ch = 0;
    std::uint8_t len = 0;  // byte length inside a w:t (0: not text of a w:t)
    AtomKind kind = AtomKind::Char;

    bool visible() const { return kind != AtomKind::Ref; }
};

class Story;

// Items [first, end) of a table, row or cell, counted from the start of its block.
struct ContainerSpan {
    pugi::xml_node_struct* node;
    long first;
    long end;
};

// A cell of the block's own tables (not of tables nested in a cell) as last flattened: where
// its items, container spans and comment marks lie in the block's vectors. Re-flattening a
// table after an edit copies the cells the edit did not touch instead of walking them again,
// so writing a fee table cell by cell does not re-read the whole table after every cell.
struct CellPiece {
    pugi::xml_node_struct* node;
    std::uint32_t atomsFirst, atomsEnd;
    std::uint32_t containersFirst, containersEnd;
    std::uint32_t marksFirst, marksEnd;
    bool irregular;
};

// What a block holds besides its items, kept apart because most blocks (plain paragraphs)
// hold none of it: a long document has a block per paragraph.
struct BlockDetails {
    std::vector<pugi::xml_node_struct*> dirtyCells;  // cells (see CellPiece) edited since then
    std::vector<ContainerSpan> containers;  // in flattening order (inner before outer)
    std::vector<CellPiece> cells;
    // `containers` sorted by node, built on the first lookup in a large table.
    std::vector<ContainerSpan> containersByNode;
    bool containersSorted = false;
    std::vector<pugi::xml_node_struct*> refs;  // the comment reference marks
    // Comment marks (range starts and ends, references) in the order the flattening met them.
    std::vector<pugi::xml_node> marks;
    // The references among `refs` whose comment has an entry, as of entry removal `liveRefsAt`,
    // and those entries.
    mutable std::vector<const XmlNode*> liveRefs;
    mutable std::vector<const XmlNode*> liveEntries;
    mutable std::uint64_t liveRefsAt = ~0ull;

    bool empty() const {
        return dirtyCells.empty() && containers.empty() && cells.empty() && refs.empty() &&
               marks.empty();
    }
};

// The items of one child of the story's root (a paragraph, a table, a block wrapper).
struct Block {
    pugi::xml_node_struct* node = nullptr;
    long start = 0;  // position of the block's first item in the story
    long count = 0;  // number of items
    std::vector<Atom> atoms;  // the items, while `materialized`
    bool materialized = false;
    std::unique_ptr<BlockDetails> details;  // null while there are none
    bool dirty = false;       // the items must be flattened again
    bool wholeDirty = false;  // ... all of them: no cell may be copied from the last flattening
    bool rowsChanged = false; // rows were added or removed since the last flattening
    // The block holds elements the flattening does not read (drawings, deleted text, unknown
    // markup): searches for drawings or marks must walk it in full.
    bool irregular = false;

    const BlockDetails& info() const {
        static const BlockDetails none;
        return details ? *details : none;
    }
    BlockDetails& more() {
        if (!details) details = std::make_unique<BlockDetails>();
        return *details;
    }
};

struct RangeState {
    // Keeps the document alive while a handle exists; empty for the selection's own ranges,
    // which the document itself holds (owning them would make a cycle).
    std::shared_ptr<DocState> doc;
    Story* story = nullptr;
    long start = 0;
    long end = 0;
};

// Read access to a story's items by position, as if they were one list.
class AtomView {
  public:
    explicit AtomView(Story& story) : story_(&story) {}
    const Atom& operator[](long i) const;
    long size() const;
    const Atom& back() const { return (*this)[size() - 1]; }

    class iterator {
      public:
        iterator(const AtomView* view, long i) : view_(view), i_(i) {}
        const Atom& operator*() const { return (*view_)[i_]; }
        iterator& operator++() {
            ++i_;
            return *this;
        }
        bool operator!=(const iterator& other) const { return i_ != other.i_; }

      private:
        const AtomView* view_;
        long i_;
    };
    iterator begin() const { return {this, 0}; }
    iterator end() const { return {this, size()}; }

  private:
    Story* story_;
};

// A story's character model is kept per child of its root: an edit re-flattens only the blocks
// it touched, and positions are found through the blocks' start offsets. So the cost of an edit
// follows the size of what it changed, not the size of the document.
class Story {
  public:
    Story(DocState& doc, XmlPart& part, pugi::xml_node root)
        : doc_(doc), part_(part), root_(root) {}

    AtomView atoms() { return AtomView(*this); }
    // Item `i`; the reference stays valid until the next edit of its block.
    const Atom& at(long i) {
        if (valid_ && hint_ < startsValid_) {
            const Block& b = blocks_[hint_];
            const long k = i - b.start;
            if (k >= 0 && k < static_cast<long>(b.atoms.size()))
                return b.atoms[static_cast<std::size_t>(k)];
        }
        return atSlow(i);
    }
    long size();
    // The items inside the root's child that holds `where` may have changed (call it while
    // `where` is still in the story). Children added or removed are found on the next read.
    void touched(pugi::xml_node where);
    // Counts the changes of the items; equal numbers mean an unchanged character model.
    std::uint64_t generation() const { return generation_; }
    // Items [first, last] may have changed (call it before the edit, with the old positions).
    void touchedItems(long first, long last);
    // Only properties changed (widths, borders, alignment): the items stay as they are.
    void changed() { part_.dirty = true; }
    std::shared_ptr<RangeState> makeRange(long start, long end);
    // After an edit at `at` that replaced `removed` items with `inserted` ones: positions inside
    // the removed stretch move to `at`, positions at or after its end move by the difference.
    void shift(long at, long removed, long inserted, const RangeState* actor = nullptr);
    // First and one-past-last item index that belongs to `container` (a table, row or cell);
    // {0, 0} when no item does.
    std::pair<long, long> span(pugi::xml_node container);
    // Position of the item whose node is `node`; -1 when there is none.
    long positionOf(pugi::xml_node node);
    // Blocks overlapping the items [first, last], as indexes into blocks().
    std::pair<std::size_t, std::size_t> blocksOver(long first, long last);
    const std::vector<Block>& blocks() {
        sync();
        return blocks_;
    }
    std::string text(long start, long end);
    // The comment reference marks among items [start, end) when they are exactly one cell of
    // a table whose items were only counted (found without reading them); nullopt otherwise.
    std::optional<std::vector<pugi::xml_node>> cellReferences(long start, long end);
    // The root's child that holds `n`; null when `n` is not inside this story.
    pugi::xml_node topOf(pugi::xml_node n) const;

    pugi::xml_node root() const { return root_; }
    XmlPart& part() { return part_; }
    DocState& doc() { return doc_; }
    bool alive() const { return part_.contains(root_); }

  private:
    DocState& doc_;
    XmlPart& part_;
    pugi::xml_node root_;
    std::vector<std::weak_ptr<RangeState>> ranges_;
    std::vector<Block> blocks_;
    // Root child -> index in blocks_; rebuilt when the list of children changed.
    std::unordered_map<pugi::xml_node_struct*, std::size_t> blockIndex_;
    long size_ = 0;
    std::uint64_t generation_ = 0;
    std::size_t hint_ = 0;  // block of the last lookup: reads mostly walk forward
    bool valid_ = false;    // false: changed blocks must be flattened again
    bool allDirty_ = true;  // every block must be flattened again
    // Children of the root were added or removed: blocks must be matched with them again.
    bool childrenChanged_ = false;
    std::vector<std::size_t> dirtyBlocks_;  // indexes of the blocks marked dirty
    // The blocks [0, startsValid_) know their start; the later ones learn it when a read
    // needs it, so an edit near the top does not renumber a long document after every change.
    std::size_t startsValid_ = 0;

    void sync();
    void rebuild();
    const Atom& atSlow(long i);
    // The cell of `b` that holds items [start, end) when `b` was only counted; else null.
    const CellPiece* countedCell(const Block& b, long start, long end) const;
    // Keeps the items of `b` (they were only counted so far).
    void materialize(Block& b);
    void startsUpTo(std::size_t k);
    void markDirty(std::size_t k);
    // Notes that the items of `cell`, a cell of a table of block `b`, changed.
    static void markCell(Block& b, pugi::xml_node_struct* cell);
    std::size_t blockOf(long i);
    Block* blockFor(pugi::xml_node top);
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
    void commentsChanged() {
        commentIndexValid_ = false;
        ++entryListChanges_;
    }
    // An entry appended after all others: the index takes it in (a repeated id keeps the
    // earlier entry, as a rebuilt index would).
    void commentAppended(const std::string& id, pugi::xml_node entry) {
        if (commentIndexValid_) commentIndex_.try_emplace(id, entry);
    }
    // The body's comment reference marks that have an entry, in document order.
    const std::vector<const XmlNode*>& commentRefs();
    // Their entries, as commentRefs() last listed them.
    const std::vector<const XmlNode*>& commentRefEntries() const { return commentRefEntries_; }
    // Changes with every edit of a story and every change to the list of comment entries: while
    // it stays the same, marks listed by commentRefs() are in the body and have those entries.
    std::uint64_t commentsStamp() const { return edits + entriesRemoved_ + entryListChanges_; }
    // Must follow every removal of comment entries or marks (the next id is recounted).
    void commentIdsChanged() { nextCommentId_ = -1; }
    void commentIdUsed(long id) {
        if (nextCommentId_ >= 0 && id >= nextCommentId_) nextCommentId_ = id + 1;
    }
    XmlPart& ensureCommentsPart();
    // The text of comment entry `entry`, kept until its text is edited: the fee-table and
    // totals procedures read the text of every comment several times over.
    const std::string& commentText(pugi::xml_node entry);
    void commentTextChanged(pugi::xml_node entry) { commentTexts_.erase(toRef(entry)); }
    // Removes the comment `id` everywhere (body marks, entry, extended entries, replies).
    void removeComment(const std::string& id);
    // One above the highest comment id among the entries and the body's marks.
    long nextCommentId();

    // Adds a part with content type override and a relationship from the main part.
    void addRelatedPart(XmlPart& part, const std::string& relType, const std::string& target);
    XmlPart& ensureSettings();

    std::string mainFolder() const;  // "word/"

    // Counts the edits of any story's items (rows and cells come and go only with them).
    std::uint64_t edits = 0;
    // The widths of table `tbl` changed: its grid is computed again before the document is
    // saved or a width is read, once, instead of after every width set (a fee table sets a
    // dozen, and each computation walks the whole table).
    void gridChanged(pugi::xml_node tbl);
    void settleGrids();

    // The body's top-level tables in document order, kept while nothing is edited: callers ask
    // for the document's tables again for every table they visit.
    const std::vector<const XmlNode*>& bodyTables();

    // rowsOf(tbl), kept while nothing is edited: callers walk a table row by row and cell by
    // cell, asking for the row each time.
    const std::vector<pugi::xml_node>& rowsCached(pugi::xml_node tbl);

  private:
    std::map<pugi::xml_node_struct*, std::unique_ptr<Story>> stories_;
    // Entries by id, built on the first lookup after a change: invoices look up one entry per
    // comment mark, and a linear search each time made walking all marks quadratic.
    mutable std::unordered_map<std::string, pugi::xml_node> commentIndex_;
    mutable bool commentIndexValid_ = false;
    std::uint64_t entriesRemoved_ = 0;  // counts removals of comment entries
    // commentRefs() as last built, with the generations of body and entries it was built from.
    std::vector<const XmlNode*> commentRefs_;
    std::vector<const XmlNode*> commentRefEntries_;
    std::uint64_t entryListChanges_ = 0;  // counts commentsChanged()
    std::pair<std::uint64_t, std::uint64_t> commentRefsBuilt_{~0ull, ~0ull};
    // Counted on demand after a removal; adding a comment only raises it.
    long nextCommentId_ = -1;
    std::vector<pugi::xml_node> gridsPending_;
    std::unordered_map<const XmlNode*, std::string> commentTexts_;
    std::vector<const XmlNode*> bodyTables_;
    std::uint64_t bodyTablesAt_ = ~0ull;
    std::vector<pugi::xml_node> rowsCache_;
    pugi::xml_node rowsCacheOf_;
    std::uint64_t rowsCacheAt_ = 0;
};

// Calls visit(element) for `n` and the elements below it (see forEachElement).
template <class Visit>
void visitBelow(pugi::xml_node n, Visit&& visit) {
    if (n.type() == pugi::node_element && visit(n) && !holdsOnlyPropertiesOrText(n.name()))
        forEachElement(n, visit);
}

// Like forEachElement over `from`, but the body's blocks that hold only what their summary
// lists (no drawings, all comment marks in Block::marks) are skipped: calls skipped(block)
// for each of those instead. This keeps searches for drawings and marks from walking every
// run of a long invoice.
template <class Visit, class Skipped>
void forEachOutsideRegularBlocks(DocState& doc, pugi::xml_node from, Visit&& visit,
                                 Skipped&& skipped) {
    Story& body = doc.body();
    auto bodyChildren = [&] {
        const std::vector<Block>& blocks = body.blocks();
        std::size_t k = 0;
        for (pugi::xml_node c : body.root().children()) {
            if (k < blocks.size() && blocks[k].node == c.internal_object()) {
                if (blocks[k].irregular)
                    visitBelow(c, visit);
                else
                    skipped(blocks[k]);
                ++k;
            } else {
                visitBelow(c, visit);
            }
        }
    };
    if (from == body.root()) {
        bodyChildren();
        return;
    }
    forEachElement(from, [&](pugi::xml_node n) {
        if (n == body.root()) {
            if (visit(n)) bodyChildren();
            return false;
        }
        return visit(n);
    });
}

// Opens the package in `file`: every check of hostile input happens here.
std::shared_ptr<DocState> loadDocState(std::unique_ptr<ReadableFile> file);
// Writes the package with changed parts rewritten into `out`.
void saveDocState(DocState& state, WritableFile& out);

// Rows of a table and cells of a row, looking through content-control/custom-XML wrappers.
std::vector<pugi::xml_node> rowsOf(pugi::xml_node tbl);
std::vector<pugi::xml_node> cellsOf(pugi::xml_node tr);
// The same without building the list: the cell at `index` (from 0; null past the end) and their
// number.
pugi::xml_node nthCell(pugi::xml_node tr, long index);
long cellCount(pugi::xml_node tr);
std::string resolveTarget(const std::string& sourceFolder, const std::string& target);

[[noreturn]] void raise(int number, const std::string& text);
[[noreturn]] void badDocument(const std::string& text);

}  // namespace tarvex::word::detail
