// The character model of a story: paragraphs, cells and rows flattened into position items,
// kept per child of the story's root so that an edit re-flattens only what it touched.
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/text/utf8.h"
#include "platform/word/doc_state.h"
#include "platform/word/walk.h"

namespace tarvex::word::detail {

namespace {

bool is(pugi::xml_node n, const char* name) { return same(n.name(), name); }

bool isCommentRangeMark(const char* name) {
    return same(name, "w:commentRangeStart") || same(name, "w:commentRangeEnd");
}

// Elements that hold neither text the model shows, nor drawings, nor comment marks.
bool isQuietLeaf(const char* name) {
    if (name[0] != 'w' || name[1] != ':') return false;
    const char* l = name + 2;
    switch (l[0]) {
        case 'p':
            return same(l, "pPr") || same(l, "proofErr") || same(l, "permStart") ||
                   same(l, "permEnd");
        case 'r':
            return same(l, "rPr");
        case 't':
            return same(l, "tcPr") || same(l, "trPr") || same(l, "tblPr") ||
                   same(l, "tblGrid") || same(l, "tblPrEx");
        case 'b':
            return same(l, "bookmarkStart") || same(l, "bookmarkEnd");
        case 'l':
            return same(l, "lastRenderedPageBreak");
        case 'f':
            return same(l, "fldChar");
        case 'i':
            return same(l, "instrText");
        case 'a':
            return same(l, "annotationRef");
        case 'c':
            return same(l, "customXmlPr");
        case 's':
            return same(l, "smartTagPr") || same(l, "sdtPr") || same(l, "sdtEndPr");
        case 'm':
            return same(l, "moveFromRangeStart") || same(l, "moveFromRangeEnd") ||
                   same(l, "moveToRangeStart") || same(l, "moveToRangeEnd");
        default:
            return false;
    }
}

// Calls visit(child) for each child of `parent` named `name`, looking through content-control
// and custom-XML wrappers (as rowsOf and cellsOf do, without building a list).
template <class Visit>
void forEachWrapped(pugi::xml_node parent, const char* name, Visit&& visit) {
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (is(c, name)) {
            visit(c);
        } else if (is(c, "w:sdt") || is(c, "w:customXml")) {
            pugi::xml_node inner = is(c, "w:sdt") ? c.child("w:sdtContent") : c;
            for (pugi::xml_node r = inner.child(name); r; r = r.next_sibling(name)) visit(r);
        }
    }
}

// A block's vectors as they were before it is flattened again, with the cells that may be
// copied from them.
struct Previous {
    std::vector<Atom> atoms;
    std::vector<ContainerSpan> containers;
    std::vector<pugi::xml_node> marks;
    std::vector<CellPiece> cells;
    std::vector<pugi::xml_node_struct*> dirtyCells;
    std::size_t next = 0;  // the piece after the last one found: cells mostly come in order
    std::vector<std::pair<pugi::xml_node_struct*, std::size_t>> byNode;  // built when needed

    // The piece of `cell` that may be copied; null when the cell is new or was edited.
    const CellPiece* reusable(pugi::xml_node_struct* cell) {
        if (std::find(dirtyCells.begin(), dirtyCells.end(), cell) != dirtyCells.end())
            return nullptr;
        // A row added or removed shifts the order by a row at most; look a row ahead first.
        for (std::size_t k = next; k < cells.size() && k < next + 64; ++k) {
            if (cells[k].node == cell) {
                next = k + 1;
                return &cells[k];
            }
        }
        if (byNode.empty()) {
            byNode.reserve(cells.size());
            for (std::size_t k = 0; k < cells.size(); ++k) byNode.emplace_back(cells[k].node, k);
            std::sort(byNode.begin(), byNode.end());
        }
        auto found = std::lower_bound(byNode.begin(), byNode.end(),
                                      std::pair<pugi::xml_node_struct*, std::size_t>(cell, 0));
        if (found == byNode.end() || found->first != cell) return nullptr;
        next = found->second + 1;
        return &cells[found->second];
    }
};

// Flattens one child of a story's root into its block: the items, the spans of its tables,
// rows and cells, and a summary of what else it holds (comment marks; whether anything the
// flattening does not read, such as a drawing or deleted text, lies inside). With the block's
// previous flattening, cells of its own tables that were not edited are copied from it.
class Flattener {
  public:
    // `store`: the items themselves are kept; otherwise only counted (with the spans, marks
    // and references, which never need the items).
    Flattener(Block& block, BlockDetails& details, Previous* previous, bool store)
        : out_(block.atoms),
          containers_(details.containers),
          block_(block),
          details_(details),
          previous_(previous),
          store_(store) {}

    long count() const { return count_; }

    void blocks(pugi::xml_node container) {
        for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) block(c);
    }

    void block(pugi::xml_node c) {
        const char* name = c.name();
        if (same(name, "w:p")) {
            paragraph(c);
        } else if (same(name, "w:tbl")) {
            table(c);
        } else if (same(name, "w:sdt")) {
            blocks(c.child("w:sdtContent"));
            other(c, "w:sdtContent");
        } else if (same(name, "w:customXml")) {
            blocks(c);
        } else {
            other(c, nullptr);
        }
    }

  private:
    // Notes an element the walk does not flatten: comment marks are listed, quiet leaves
    // ignored, and anything else makes the block one that must be searched in full.
    void other(pugi::xml_node n, const char* read) {
        if (n.type() != pugi::node_element) return;
        const char* name = n.name();
        if (read) {
            for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
                if (c.type() == pugi::node_element && !same(c.name(), read)) other(c, nullptr);
            return;
        }
        if (isCommentRangeMark(name))
            details_.marks.push_back(n);
        else if (!isQuietLeaf(name))
            block_.irregular = true;
    }

  public:
    // The items of one cell: its content and the end-of-cell mark.
    void cell(pugi::xml_node tc) {
        const long before = here();
        blocks(tc);
        // The last paragraph of a cell is ended by the end-of-cell mark.
        if (here() > before && lastKind_ == AtomKind::ParaMark && lastNode_.parent() == tc) {
            if (store_) {
                out_.back().kind = AtomKind::CellMark;
                out_.back().node = tc;
            }
            lastKind_ = AtomKind::CellMark;
            lastNode_ = tc;
        } else {
            emit({tc, pugi::xml_node(), 0, U'\a', 0, AtomKind::CellMark});
        }
    }

  private:
    void paragraph(pugi::xml_node p) {
        inlines(p, p);
        emit({p, p, 0, U'\r', 0, AtomKind::ParaMark});
    }

    void table(pugi::xml_node tbl) {
        const bool own = tableDepth_++ == 0;  // a table of the block, not one nested in a cell
        long tableStart = here();
        for (pugi::xml_node c = tbl.first_child(); c; c = c.next_sibling())
            if (!is(c, "w:tr")) other(c, nullptr);
        forEachWrapped(tbl, "w:tr", [&](pugi::xml_node tr) {
            long rowStart = here();
            pugi::xml_node lastCell;
            for (pugi::xml_node c = tr.first_child(); c; c = c.next_sibling())
                if (!is(c, "w:tc")) other(c, nullptr);
            forEachWrapped(tr, "w:tc", [&](pugi::xml_node tc) {
                lastCell = tc;
                if (own && previous_) {
                    if (const CellPiece* piece = previous_->reusable(tc.internal_object())) {
                        copy(*piece);
                        return;
                    }
                }
                const std::size_t before = static_cast<std::size_t>(here());
                const std::size_t containersBefore = containers_.size();
                const std::size_t marksBefore = details_.marks.size();
                const bool irregularBefore = block_.irregular;
                block_.irregular = false;
                cell(tc);
                record(tc, static_cast<long>(before));
                if (own)
                    details_.cells.push_back({tc.internal_object(), index(before), index(here()),
                                            index(containersBefore), index(containers_.size()),
                                            index(marksBefore), index(details_.marks.size()),
                                            block_.irregular});
                block_.irregular = block_.irregular || irregularBefore;
            });
            emit({tr, lastCell.last_child(), 0, U'\a', 0, AtomKind::RowMark});
            record(tr, rowStart);
        });
        record(tbl, tableStart);
        --tableDepth_;
    }

    static std::uint32_t index(std::size_t i) { return static_cast<std::uint32_t>(i); }

    // Appends a cell as flattened before: its items, its spans (the cell's own and those of
    // tables nested in it, moved to where the cell now starts) and its comment marks.
    void copy(const CellPiece& piece) {
        const Previous& p = *previous_;
        const long delta = here() - static_cast<long>(piece.atomsFirst);
        const std::size_t containersFirst = containers_.size();
        const std::size_t marksFirst = details_.marks.size();
        out_.insert(out_.end(), p.atoms.begin() + piece.atomsFirst,
                    p.atoms.begin() + piece.atomsEnd);
        count_ += static_cast<long>(piece.atomsEnd - piece.atomsFirst);
        for (std::uint32_t k = piece.atomsFirst; k < piece.atomsEnd; ++k)
            if (p.atoms[k].kind == AtomKind::Ref)
                details_.refs.push_back(p.atoms[k].node.internal_object());
        if (piece.atomsEnd > piece.atomsFirst) {
            lastKind_ = p.atoms[piece.atomsEnd - 1].kind;
            lastNode_ = p.atoms[piece.atomsEnd - 1].node;
        }
        for (std::uint32_t k = piece.containersFirst; k < piece.containersEnd; ++k) {
            ContainerSpan span = p.containers[k];
            span.first += delta;
            span.end += delta;
            containers_.push_back(span);
        }
        details_.marks.insert(details_.marks.end(), p.marks.begin() + piece.marksFirst,
                            p.marks.begin() + piece.marksEnd);
        block_.irregular = block_.irregular || piece.irregular;
        details_.cells.push_back({piece.node, index(static_cast<std::size_t>(delta) + piece.atomsFirst),
                                index(here()), index(containersFirst),
                                index(containers_.size()), index(marksFirst),
                                index(details_.marks.size()), piece.irregular});
    }

    long here() const { return count_; }

    void emit(const Atom& atom) {
        if (store_) out_.push_back(atom);
        ++count_;
        lastKind_ = atom.kind;
        lastNode_ = atom.node;
    }
    void record(pugi::xml_node container, long first) {
        containers_.push_back({container.internal_object(), first, here()});
    }

    void inlines(pugi::xml_node n, pugi::xml_node p) {
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
            const char* name = c.name();
            if (same(name, "w:r")) {
                run(c, p);
            } else if (same(name, "w:sdt")) {
                inlines(c.child("w:sdtContent"), p);
                other(c, "w:sdtContent");
            } else if (same(name, "w:hyperlink") || same(name, "w:customXml") ||
                       same(name, "w:smartTag") || same(name, "w:fldSimple") ||
                       same(name, "w:ins") || same(name, "w:moveTo") ||
                       same(name, "w:dir") || same(name, "w:bdo")) {
                inlines(c, p);
            } else {
                other(c, nullptr);
            }
        }
    }

    void run(pugi::xml_node r, pugi::xml_node p) {
        for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
            const char* name = c.name();
            if (same(name, "w:t")) {
                const char* bytes = c.text().get();
                std::size_t length = std::strlen(bytes);
                std::size_t pos = 0;
                // A malformed byte is a character of its own (U+FFFD) whose byte stays as it was.
                while (pos < length) {
                    const auto byte = static_cast<unsigned char>(bytes[pos]);
                    if (byte < 0x80) {  // most invoice text is ASCII
                        emit({c, p, static_cast<std::uint32_t>(pos), byte, 1,
                                        AtomKind::Char});
                        ++pos;
                        continue;
                    }
                    const text::Utf8Char ch = text::decodeUtf8(bytes + pos, length - pos);
                    emit({c, p, static_cast<std::uint32_t>(pos), ch.ch,
                                    static_cast<std::uint8_t>(ch.size), AtomKind::Char});
                    pos += ch.size;
                }
            } else if (same(name, "w:tab")) {
                push(c, U'\t', p);
            } else if (same(name, "w:br")) {
                std::string type = c.attribute("w:type").value();
                push(c, type == "page" ? U'\f' : type == "column" ? char32_t(14) : U'\v', p);
            } else if (same(name, "w:cr")) {
                push(c, U'\v', p);
            } else if (same(name, "w:noBreakHyphen")) {
                push(c, char32_t(30), p);
            } else if (same(name, "w:softHyphen")) {
                push(c, char32_t(31), p);
            } else if (same(name, "w:sym")) {
                push(
                    c,
                    static_cast<char32_t>(std::strtoul(c.attribute("w:char").value(), nullptr, 16)),
                    p);
            } else if (same(name, "w:commentReference")) {
                details_.refs.push_back(c.internal_object());
                emit({c, p, 0, 0, 0, AtomKind::Ref});
                details_.marks.push_back(c);
            } else if (c.type() == pugi::node_element && !isQuietLeaf(name) &&
                       !same(name, "w:delText")) {
                block_.irregular = true;  // drawings, embedded objects, anything unknown
            }
        }
    }

    void push(pugi::xml_node c, char32_t ch, pugi::xml_node p) {
        emit({c, p, 0, ch, 0, AtomKind::Char});
    }

    std::vector<Atom>& out_;
    std::vector<ContainerSpan>& containers_;
    Block& block_;
    BlockDetails& details_;
    Previous* previous_;
    bool store_;
    long count_ = 0;
    AtomKind lastKind_ = AtomKind::Char;
    pugi::xml_node lastNode_;
    int tableDepth_ = 0;
};

}  // namespace

namespace {

// The `index`-th (from 0) child named `name` of `parent`, looking through content-control and
// custom-XML wrappers as rowsOf/cellsOf do; counts them all when `index` is negative.
std::pair<pugi::xml_node, long> nthWrapped(pugi::xml_node parent, const char* name, long index) {
    long seen = 0;
    for (pugi::xml_node c : parent.children()) {
        if (is(c, name)) {
            if (seen++ == index) return {c, seen};
        } else if (is(c, "w:sdt") || is(c, "w:customXml")) {
            pugi::xml_node inner = is(c, "w:sdt") ? c.child("w:sdtContent") : c;
            for (pugi::xml_node r : inner.children(name))
                if (seen++ == index) return {r, seen};
        }
    }
    return {pugi::xml_node(), seen};
}

}  // namespace

const std::vector<pugi::xml_node>& DocState::rowsCached(pugi::xml_node tbl) {
    if (rowsCacheOf_ != tbl || rowsCacheAt_ != edits) {
        rowsCache_ = rowsOf(tbl);
        rowsCacheOf_ = tbl;
        rowsCacheAt_ = edits;
    }
    return rowsCache_;
}


pugi::xml_node nthCell(pugi::xml_node tr, long index) {
    return index < 0 ? pugi::xml_node() : nthWrapped(tr, "w:tc", index).first;
}
long cellCount(pugi::xml_node tr) { return nthWrapped(tr, "w:tc", -1).second; }

std::vector<pugi::xml_node> rowsOf(pugi::xml_node tbl) {
    std::vector<pugi::xml_node> rows;
    for (pugi::xml_node c : tbl.children()) {
        if (is(c, "w:tr")) {
            rows.push_back(c);
        } else if (is(c, "w:sdt") || is(c, "w:customXml")) {
            pugi::xml_node inner = is(c, "w:sdt") ? c.child("w:sdtContent") : c;
            for (pugi::xml_node r : inner.children("w:tr")) rows.push_back(r);
        }
    }
    return rows;
}

std::vector<pugi::xml_node> cellsOf(pugi::xml_node tr) {
    std::vector<pugi::xml_node> cells;
    for (pugi::xml_node c : tr.children()) {
        if (is(c, "w:tc")) {
            cells.push_back(c);
        } else if (is(c, "w:sdt") || is(c, "w:customXml")) {
            pugi::xml_node inner = is(c, "w:sdt") ? c.child("w:sdtContent") : c;
            for (pugi::xml_node r : inner.children("w:tc")) cells.push_back(r);
        }
    }
    return cells;
}

namespace {

constexpr std::size_t kLinearSpans = 512;

bool flattens(pugi::xml_node c) {
    return is(c, "w:p") || is(c, "w:tbl") || is(c, "w:sdt") || is(c, "w:customXml");
}

// Reads the block's items again. `store`: keeps them (the block is read by position soon, as
// the blocks an edit just changed are); otherwise only counts them, which is all a block
// needs until something reads inside it: a long document keeps only what is being read.
// Reads only the edited cells of a table whose rows and cells are those of its last reading,
// and splices their items into the block: after an edit in one cell of a fee table the cost
// follows that cell, not the table. False (nothing changed) when that cannot be done.
bool patchCells(Block& block) {
    if (!block.materialized || !block.details || block.wholeDirty || block.rowsChanged)
        return false;
    BlockDetails& d = *block.details;
    if (d.dirtyCells.empty()) return false;
    std::vector<std::size_t> pieces;
    for (pugi::xml_node_struct* cell : d.dirtyCells) {
        auto found = std::find_if(d.cells.begin(), d.cells.end(),
                                  [&](const CellPiece& c) { return c.node == cell; });
        if (found == d.cells.end()) return false;
        // Still a cell of this block (not removed with its row).
        pugi::xml_node p(cell);
        while (p && p.internal_object() != block.node) p = p.parent();
        if (!p) return false;
        pieces.push_back(static_cast<std::size_t>(found - d.cells.begin()));
    }
    for (std::size_t k : pieces) {
        CellPiece& piece = d.cells[k];
        const pugi::xml_node tc(piece.node);
        Block one;
        BlockDetails inner;
        Flattener flattener(one, inner, nullptr, true);
        flattener.cell(tc);
        const auto atomsNew = static_cast<std::uint32_t>(one.atoms.size());
        const long delta = static_cast<long>(atomsNew) - static_cast<long>(piece.atomsEnd - piece.atomsFirst);
        // The cell's own span comes last among its spans, as the table walk records it.
        inner.containers.push_back({piece.node, 0, static_cast<long>(atomsNew)});
        for (ContainerSpan& c : inner.containers) {
            c.first += piece.atomsFirst;
            c.end += piece.atomsFirst;
        }
        const long containersDelta = static_cast<long>(inner.containers.size()) -
                                     static_cast<long>(piece.containersEnd - piece.containersFirst);
        const long marksDelta = static_cast<long>(inner.marks.size()) -
                                static_cast<long>(piece.marksEnd - piece.marksFirst);
        const long oldEnd = piece.atomsEnd;
        block.atoms.erase(block.atoms.begin() + piece.atomsFirst, block.atoms.begin() + piece.atomsEnd);
        block.atoms.insert(block.atoms.begin() + piece.atomsFirst, one.atoms.begin(), one.atoms.end());
        d.containers.erase(d.containers.begin() + piece.containersFirst,
                           d.containers.begin() + piece.containersEnd);
        d.containers.insert(d.containers.begin() + piece.containersFirst, inner.containers.begin(),
                            inner.containers.end());
        // Spans recorded after the cell: later cells and rows move, the cell's row and table
        // (and any table holding them) grow or shrink.
        for (std::size_t c = piece.containersFirst + inner.containers.size(); c < d.containers.size(); ++c) {
            if (d.containers[c].first >= oldEnd) d.containers[c].first += delta;
            if (d.containers[c].end >= oldEnd) d.containers[c].end += delta;
        }
        d.marks.erase(d.marks.begin() + piece.marksFirst, d.marks.begin() + piece.marksEnd);
        d.marks.insert(d.marks.begin() + piece.marksFirst, inner.marks.begin(), inner.marks.end());
        piece.atomsEnd = piece.atomsFirst + atomsNew;
        piece.containersEnd = static_cast<std::uint32_t>(piece.containersFirst + inner.containers.size());
        piece.marksEnd = static_cast<std::uint32_t>(piece.marksFirst + inner.marks.size());
        piece.irregular = one.irregular;
        for (std::size_t later = k + 1; later < d.cells.size(); ++later) {
            CellPiece& c = d.cells[later];
            c.atomsFirst = static_cast<std::uint32_t>(c.atomsFirst + delta);
            c.atomsEnd = static_cast<std::uint32_t>(c.atomsEnd + delta);
            c.containersFirst = static_cast<std::uint32_t>(c.containersFirst + containersDelta);
            c.containersEnd = static_cast<std::uint32_t>(c.containersEnd + containersDelta);
            c.marksFirst = static_cast<std::uint32_t>(c.marksFirst + marksDelta);
            c.marksEnd = static_cast<std::uint32_t>(c.marksEnd + marksDelta);
        }
        // The row mark after a row's last cell refers to that cell's last child.
        if (piece.atomsEnd < block.atoms.size() &&
            block.atoms[piece.atomsEnd].kind == AtomKind::RowMark &&
            block.atoms[piece.atomsEnd].node == tc.parent())
            block.atoms[piece.atomsEnd].para = tc.last_child();
        block.irregular = block.irregular || one.irregular;
    }
    d.refs.clear();
    for (const Atom& a : block.atoms)
        if (a.kind == AtomKind::Ref) d.refs.push_back(a.node.internal_object());
    d.dirtyCells.clear();
    d.containersSorted = false;
    d.containersByNode.clear();
    d.liveRefsAt = ~0ull;
    block.count = static_cast<long>(block.atoms.size());
    block.dirty = false;
    return true;
}

void flatten(Block& block, bool store) {
    if (store && patchCells(block)) return;
    // A table whose cells were kept before and that was not changed as a whole keeps the cells
    // no edit touched.
    std::optional<Previous> previous;
    BlockDetails details;
    if (store && block.materialized && block.details && !block.wholeDirty &&
        !block.details->cells.empty()) {
        BlockDetails& old = *block.details;
        previous.emplace();
        previous->atoms = std::move(block.atoms);
        previous->containers = std::move(old.containers);
        previous->marks = std::move(old.marks);
        previous->cells = std::move(old.cells);
        previous->dirtyCells = std::move(old.dirtyCells);
        block.atoms.reserve(previous->atoms.size());
        details.containers.reserve(previous->containers.size());
    }
    block.atoms.clear();
    if (!store) block.atoms.shrink_to_fit();
    block.wholeDirty = false;
    block.rowsChanged = false;
    block.irregular = false;
    Flattener flattener(block, details, previous ? &*previous : nullptr, store);
    flattener.block(pugi::xml_node(block.node));
    block.count = flattener.count();
    block.materialized = store;
    block.details = details.empty() ? nullptr : std::make_unique<BlockDetails>(std::move(details));
    block.dirty = false;
}

}  // namespace

const Atom& AtomView::operator[](long i) const { return story_->at(i); }
long AtomView::size() const { return story_->size(); }

void Story::sync() {
    if (valid_) return;
    // The common case: the root's children are still the blocks we know, only some of their
    // contents changed. Then only the changed blocks are read again, and the positions of the
    // blocks after them are brought up to date when a read needs them.
    bool same = !allDirty_ && !childrenChanged_;
    for (std::size_t k : dirtyBlocks_)
        if (same && pugi::xml_node(blocks_[k].node).parent() != root_) same = false;  // removed
    if (same) {
        for (std::size_t k : dirtyBlocks_) {
            Block& b = blocks_[k];
            if (!b.dirty) continue;
            size_ -= b.count;
            flatten(b, b.materialized);
            size_ += b.count;
            startsValid_ = std::min(startsValid_, k + 1);  // its own start did not move
        }
    } else {
        rebuild();
    }
    dirtyBlocks_.clear();
    hint_ = 0;
    allDirty_ = false;
    childrenChanged_ = false;
    valid_ = true;
}

void Story::rebuild() {
    // Walks the root's children alongside the blocks known so far: a child that is the next
    // known block keeps it; a child met for the first time becomes a new block. The index of
    // blocks by node is only changed where a block moved: a few children added to a document
    // of a million paragraphs must not cost a million insertions.
    std::vector<Block> fresh;
    fresh.reserve(blocks_.size() + 4);
    std::vector<std::size_t> from;  // the old index of each fresh block; npos: a new one
    from.reserve(blocks_.size() + 4);
    constexpr std::size_t npos = ~std::size_t(0);
    auto gone = [&](std::size_t k) {
        if (blocks_[k].node) blockIndex_.erase(blocks_[k].node);
    };
    if (allDirty_) {
        blocks_.clear();
        blockIndex_.clear();
    }
    std::size_t k = 0;
    for (pugi::xml_node c = root_.first_child(); c; c = c.next_sibling()) {
        pugi::xml_node_struct* node = c.internal_object();
        std::size_t known = npos;
        if (k < blocks_.size() && blocks_[k].node == node) {
            known = k++;
        } else {
            if (!flattens(c)) continue;
            // Skips blocks removed from the root or moved ahead of their old place.
            while (k < blocks_.size() &&
                   (!blocks_[k].node || pugi::xml_node(blocks_[k].node).parent() != root_)) {
                gone(k);
                ++k;
            }
            if (k < blocks_.size() && blocks_[k].node == node) {
                known = k++;
            } else {
                auto found = blockIndex_.find(node);  // a block that moved
                if (found != blockIndex_.end() && blocks_[found->second].node == node)
                    known = found->second;
            }
        }
        if (known != npos) {
            fresh.push_back(std::move(blocks_[known]));
            blocks_[known].node = nullptr;
        } else {
            fresh.emplace_back();
            fresh.back().node = node;
            fresh.back().dirty = true;
        }
        from.push_back(known);
    }
    for (; k < blocks_.size(); ++k)
        if (blocks_[k].node && pugi::xml_node(blocks_[k].node).parent() != root_) gone(k);
    blocks_ = std::move(fresh);
    long start = 0;
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        Block& b = blocks_[i];
        if (from[i] != i) blockIndex_[b.node] = i;
        if (b.dirty) flatten(b, b.materialized);
        b.start = start;
        start += b.count;
    }
    size_ = start;
    startsValid_ = blocks_.size();
}

void Story::startsUpTo(std::size_t k) {
    if (k < startsValid_) return;
    if (startsValid_ == 0) {
        if (blocks_.empty()) return;
        blocks_[0].start = 0;
        startsValid_ = 1;
    }
    for (std::size_t j = startsValid_; j <= k && j < blocks_.size(); ++j)
        blocks_[j].start = blocks_[j - 1].start + blocks_[j - 1].count;
    startsValid_ = std::max(startsValid_, std::min(k + 1, blocks_.size()));
}

long Story::size() {
    sync();
    return size_;
}

std::size_t Story::blockOf(long i) {
    sync();
    auto holds = [&](std::size_t k) {
        const Block& b = blocks_[k];
        return i >= b.start && i < b.start + b.count;
    };
    if (hint_ < startsValid_) {
        if (holds(hint_)) return hint_;
        // Reads mostly move on to the next block.
        if (hint_ + 1 < blocks_.size()) {
            startsUpTo(hint_ + 1);
            if (holds(hint_ + 1)) return ++hint_;
        }
    }
    // Positions past the blocks whose start is known: bring them up to date as far as needed.
    while (startsValid_ < blocks_.size() &&
           (startsValid_ == 0 ||
            i >= blocks_[startsValid_ - 1].start +
                     blocks_[startsValid_ - 1].count))
        startsUpTo(startsValid_);
    // The last block starting at or before `i` that holds any item.
    auto known = blocks_.begin() + static_cast<long>(startsValid_);
    auto it = std::upper_bound(blocks_.begin(), known, i,
                               [](long pos, const Block& b) { return pos < b.start; });
    std::size_t k = static_cast<std::size_t>(it - blocks_.begin());
    while (k > 0 && blocks_[k - 1].count == 0) --k;
    hint_ = k > 0 ? k - 1 : 0;
    return hint_;
}

pugi::xml_node Story::topOf(pugi::xml_node n) const {
    for (pugi::xml_node p = n; p; p = p.parent())
        if (p.parent() == root_) return p;
    return {};
}

void Story::materialize(Block& b) {
    if (!b.materialized) flatten(b, true);
}

const Atom& Story::atSlow(long i) {
    Block& b = blocks_[blockOf(i)];
    materialize(b);
    return b.atoms[static_cast<std::size_t>(i - b.start)];
}

Block* Story::blockFor(pugi::xml_node top) {
    sync();
    auto found = blockIndex_.find(top.internal_object());
    if (found == blockIndex_.end()) return nullptr;
    startsUpTo(found->second);
    return &blocks_[found->second];
}

void Story::touched(pugi::xml_node where) {
    part_.dirty = true;
    if (&part_ == doc_.comments.get()) doc_.commentTextChanged(root_);
    valid_ = false;
    ++generation_;
    ++doc_.edits;
    if (where == root_) {  // only the list of children changed
        childrenChanged_ = true;
        return;
    }
    // The root's child that holds `where`, and the outermost cell on the way up to it.
    pugi::xml_node top, cell;
    for (pugi::xml_node p = where; p; p = p.parent()) {
        if (p.parent() == root_) {
            top = p;
            break;
        }
        if (is(p, "w:tc")) cell = p;
    }
    if (!top) {
        allDirty_ = true;  // not in the story (any more): start over
        return;
    }
    // A child not known yet is flattened as new on the next read.
    auto found = blockIndex_.find(top.internal_object());
    if (found == blockIndex_.end()) {
        childrenChanged_ = true;
        return;
    }
    Block& b = blocks_[found->second];
    markDirty(found->second);
    if (cell)
        markCell(b, cell.internal_object());
    else if (!is(where, "w:tr"))
        b.wholeDirty = true;
    else  // a row added or removed: its cells are new or gone, the others are unchanged
        b.rowsChanged = true;
}

void Story::markDirty(std::size_t k) {
    if (blocks_[k].dirty) return;
    blocks_[k].dirty = true;
    dirtyBlocks_.push_back(k);
}

void Story::markCell(Block& b, pugi::xml_node_struct* cell) {
    if (b.wholeDirty) return;
    // Only a table's cells can be copied: for any other block the whole is read again anyway.
    if (!b.details || b.details->cells.empty()) {
        b.wholeDirty = true;
        return;
    }
    auto& dirty = b.details->dirtyCells;
    if (dirty.size() >= 16) {
        b.wholeDirty = true;  // many cells at once: walking the table costs no more
        return;
    }
    if (std::find(dirty.begin(), dirty.end(), cell) == dirty.end()) dirty.push_back(cell);
}

void Story::touchedItems(long first, long last) {
    if (first > last) return;
    auto [from, to] = blocksOver(first, last);
    // Items of one cell of a table: only that cell changes.
    pugi::xml_node cell;
    if (to == from + 1) {
        pugi::xml_node top(blocks_[from].node);
        auto outermostCell = [&](long i) {
            pugi::xml_node found;
            for (pugi::xml_node p = at(i).node; p && p != top; p = p.parent())
                if (is(p, "w:tc")) found = p;
            return found;
        };
        cell = outermostCell(std::max(first, 0L));
        if (cell != outermostCell(std::min(last, size() - 1))) cell = pugi::xml_node();
    }
    for (std::size_t k = from; k < to; ++k) {
        markDirty(k);
        if (cell)
            markCell(blocks_[k], cell.internal_object());
        else
            blocks_[k].wholeDirty = true;
    }
    part_.dirty = true;
    if (&part_ == doc_.comments.get()) doc_.commentTextChanged(root_);
    valid_ = false;
    ++generation_;
    ++doc_.edits;
}

std::pair<std::size_t, std::size_t> Story::blocksOver(long first, long last) {
    long n = size();
    if (n == 0 || first > last || last < 0 || first >= n) return {0, 0};
    std::size_t from = blockOf(std::max(first, 0L));
    std::size_t to = blockOf(std::min(last, n - 1)) + 1;
    return {from, to};
}

long Story::positionOf(pugi::xml_node node) {
    pugi::xml_node top = topOf(node);
    Block* b = top ? blockFor(top) : nullptr;
    if (!b) return -1;
    materialize(*b);
    for (std::size_t k = 0; k < b->atoms.size(); ++k)
        if (b->atoms[k].node == node) return b->start + static_cast<long>(k);
    return -1;
}

std::shared_ptr<RangeState> Story::makeRange(long start, long end) {
    auto state = std::make_shared<RangeState>();
    state->doc = doc_.shared_from_this();
    state->story = this;
    long n = size();
    state->start = std::clamp(start, 0L, n);
    state->end = std::clamp(end, state->start, n);
    std::erase_if(ranges_, [](const std::weak_ptr<RangeState>& w) { return w.expired(); });
    ranges_.push_back(state);
    return state;
}

void Story::shift(long at, long removed, long inserted, const RangeState* actor) {
    auto move = [&](long& pos, bool isActorStart) {
        if (pos < at || (isActorStart && pos == at)) return;
        if (pos < at + removed)
            pos = at;
        else
            pos += inserted - removed;
    };
    for (auto& weak : ranges_) {
        auto r = weak.lock();
        if (!r) continue;
        move(r->start, r.get() == actor);
        move(r->end, false);
    }
    long n = size();
    for (auto& weak : ranges_) {
        if (auto r = weak.lock()) {
            r->start = std::clamp(r->start, 0L, n);
            r->end = std::clamp(r->end, r->start, n);
        }
    }
}

std::pair<long, long> Story::span(pugi::xml_node container) {
    if (container == root_) return {0, size()};
    pugi::xml_node top = topOf(container);
    Block* b = top ? blockFor(top) : nullptr;
    if (!b || b->count == 0) return {0, 0};
    const long count = b->count;
    if (top == container) return {b->start, b->start + count};
    const char* name = container.name();
    if (same(name, "w:tbl") || same(name, "w:tr") || same(name, "w:tc")) {
        // Flattening enters these only through their table, and every item it emits inside one
        // lies in its subtree, so a container it never entered holds no item.
        pugi::xml_node_struct* wanted = container.internal_object();
        const BlockDetails& d = b->info();
        const auto& spans = d.containers;
        const ContainerSpan* found = nullptr;
        if (spans.size() <= kLinearSpans) {
            // An invoice table has about a hundred: a scan costs less than sorting them.
            auto hit = std::find_if(spans.begin(), spans.end(),
                                    [&](const ContainerSpan& c) { return c.node == wanted; });
            if (hit != spans.end()) found = &*hit;
        } else {
            BlockDetails& details = b->more();
            auto& sorted = details.containersByNode;
            if (!details.containersSorted) {  // sorted on the first lookup only
                sorted = spans;
                std::sort(sorted.begin(), sorted.end(),
                          [](const ContainerSpan& x, const ContainerSpan& y) { return x.node < y.node; });
                details.containersSorted = true;
            }
            auto hit = std::lower_bound(
                sorted.begin(), sorted.end(), wanted,
                [](const ContainerSpan& c, pugi::xml_node_struct* n) { return c.node < n; });
            if (hit != sorted.end() && hit->node == wanted) found = &*hit;
        }
        if (!found || found->first == found->end) return {0, 0};
        return {b->start + found->first, b->start + found->end};
    }
    long first = -1, last = -1;
    materialize(*b);
    for (long i = 0; i < count; ++i) {
        bool inside = false;
        for (pugi::xml_node p = b->atoms[static_cast<std::size_t>(i)].node; p && p != top;
             p = p.parent()) {
            if (p == container) {
                inside = true;
                break;
            }
        }
        if (inside) {
            if (first < 0) first = i;
            last = i;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0) return {0, 0};
    return {b->start + first, b->start + last + 1};
}

namespace {

void appendItem(std::string& out, const Atom& a) {
    switch (a.kind) {
        case AtomKind::Char:
            if (a.len)
                out.append(a.node.text().get() + a.off, a.len);
            else
                text::appendUtf8(out, a.ch);
            break;
        case AtomKind::ParaMark:
            out += '\r';
            break;
        case AtomKind::CellMark:
        case AtomKind::RowMark:
            out += "\r\a";
            break;
        case AtomKind::Ref:
            break;
    }
}

// Appends the text of items; the characters of one w:t element are looked up once.
struct TextBuilder {
    std::string& out;
    pugi::xml_node_struct* node = nullptr;
    const char* text = nullptr;

    void add(const Atom& a) {
        if (a.kind == AtomKind::Char && a.len) {
            if (a.node.internal_object() != node) {
                node = a.node.internal_object();
                text = a.node.text().get();
            }
            out.append(text + a.off, a.len);
            return;
        }
        appendItem(out, a);
    }
};

}  // namespace

const CellPiece* Story::countedCell(const Block& b, long start, long end) const {
    if (b.materialized || !b.details || b.details->cells.empty()) return nullptr;
    const auto& cells = b.details->cells;
    const auto offset = static_cast<std::uint32_t>(start - b.start);
    auto it = std::upper_bound(cells.begin(), cells.end(), offset,
                               [](std::uint32_t o, const CellPiece& c) { return o < c.atomsFirst; });
    if (it == cells.begin() || end - b.start > static_cast<long>((it - 1)->atomsEnd)) return nullptr;
    return &*(it - 1);
}

std::optional<std::vector<pugi::xml_node>> Story::cellReferences(long start, long end) {
    if (start >= end || end > size()) return std::nullopt;
    const Block& b = blocks_[blockOf(start)];
    const CellPiece* c = countedCell(b, start, end);
    if (!c || start != b.start + c->atomsFirst || end != b.start + c->atomsEnd) return std::nullopt;
    // The cell's marks, in document order, hold its references.
    std::vector<pugi::xml_node> refs;
    const auto& marks = b.details->marks;
    for (std::uint32_t k = c->marksFirst; k < c->marksEnd; ++k)
        if (same(marks[k].name(), "w:commentReference")) refs.push_back(marks[k]);
    return refs;
}

std::string Story::text(long start, long end) {
    std::string out;
    const long n = size();
    start = std::max(0L, start);
    end = std::min(end, n);
    if (start >= end) return out;
    // Inside one cell of a table that was only counted: that cell alone is read. Totals read a
    // few cells of every fee table; reading the whole table for each would cost far more.
    Block& b = blocks_[blockOf(start)];
    if (const CellPiece* c = countedCell(b, start, end)) {
        Block one;
        BlockDetails details;
        Flattener flattener(one, details, nullptr, true);
        flattener.cell(pugi::xml_node(c->node));
        if (one.atoms.size() == c->atomsEnd - c->atomsFirst) {
            TextBuilder builder{out};
            for (long i = start; i < end; ++i)
                builder.add(one.atoms[static_cast<std::size_t>(i - b.start - c->atomsFirst)]);
            return out;
        }
    }
    TextBuilder builder{out};
    for (long i = start; i < end; ++i) builder.add(at(i));
    return out;
}

}  // namespace tarvex::word::detail
