// Flattening a block into position items: the walk over paragraphs, runs, tables, rows and
// cells, and the cheaper paths when only some cells of a table changed.
#include "platform/word/flatten.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/text/utf8.h"
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
        if (same(name, "w:tcPr")) return;  // in every cell
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
        // Quiet leaves (properties, bookmarks) are by far the most common: asked first.
        if (isQuietLeaf(name)) return;
        if (isCommentRangeMark(name))
            details_.marks.push_back(n);
        else
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
            if (same(name, "w:pPr")) continue;  // nearly every paragraph has one
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
            if (same(name, "w:rPr")) continue;
            if (same(name, "w:t")) {
                const char* bytes = c.text().get();
                std::size_t length = std::strlen(bytes);
                // Counting plain ASCII text needs no walk over its characters.
                if (!store_ && length > 0 &&
                    std::all_of(bytes, bytes + length,
                                [](char b) { return static_cast<unsigned char>(b) < 0x80; })) {
                    count_ += static_cast<long>(length);
                    lastKind_ = AtomKind::Char;
                    lastNode_ = c;
                    continue;
                }
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

}  // namespace

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

bool flattens(pugi::xml_node c) {
    const char* name = c.name();
    return same(name, "w:p") || same(name, "w:tbl") || same(name, "w:sdt") ||
           same(name, "w:customXml");
}

std::optional<PlainParagraphs> plainParagraphs(pugi::xml_node container, const char* properties) {
    PlainParagraphs out;
    for (pugi::xml_node p = container.first_child(); p; p = p.next_sibling()) {
        if (p.type() != pugi::node_element) return std::nullopt;
        const char* name = p.name();
        if (properties && same(name, properties)) continue;
        if (!same(name, "w:p")) return std::nullopt;
        for (pugi::xml_node r = p.first_child(); r; r = r.next_sibling()) {
            if (r.type() != pugi::node_element) return std::nullopt;
            const char* inline_ = r.name();
            if (same(inline_, "w:r")) {
                for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
                    if (c.type() != pugi::node_element) return std::nullopt;
                    const char* inRun = c.name();
                    if (same(inRun, "w:t"))
                        out.text += c.text().get();
                    else if (same(inRun, "w:tab"))
                        out.text += '\t';
                    else if (!same(inRun, "w:rPr") && !same(inRun, "w:commentReference") &&
                             !same(inRun, "w:annotationRef") &&
                             !same(inRun, "w:lastRenderedPageBreak"))
                        return std::nullopt;
                }
            } else if (!same(inline_, "w:pPr") && !same(inline_, "w:bookmarkStart") &&
                       !same(inline_, "w:bookmarkEnd") && !isCommentRangeMark(inline_) &&
                       !same(inline_, "w:proofErr")) {
                return std::nullopt;
            }
        }
        out.text += '\r';
        ++out.count;
    }
    return out;
}

std::optional<std::string> plainCellText(pugi::xml_node tc) {
    std::optional<PlainParagraphs> plain = plainParagraphs(tc, "w:tcPr");
    if (!plain) return std::nullopt;
    // The end-of-cell mark ends the last paragraph, or stands alone in a cell without one.
    if (plain->count == 0) plain->text += '\r';
    return plain->text + '\a';
}

std::vector<Atom> cellItems(pugi::xml_node tc) {
    Block one;
    BlockDetails details;
    Flattener(one, details, nullptr, true).cell(tc);
    return std::move(one.atoms);
}

}  // namespace tarvex::word::detail
