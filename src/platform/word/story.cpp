// The character model of a story: paragraphs, cells and rows flattened into position items,
// kept per child of the story's root so that an edit re-flattens only what it touched.
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/text/utf8.h"
#include "platform/word/doc_state.h"
#include "platform/word/flatten.h"
#include "platform/word/walk.h"

namespace tarvex::word::detail {

namespace {

bool is(pugi::xml_node n, const char* name) { return same(n.name(), name); }

constexpr std::size_t kLinearSpans = 512;

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
        if (!c->irregular && start == b.start + c->atomsFirst && end == b.start + c->atomsEnd) {
            if (std::optional<std::string> plain = plainCellText(pugi::xml_node(c->node)))
                return std::move(*plain);
        }
        const std::vector<Atom> items = cellItems(pugi::xml_node(c->node));
        if (items.size() == c->atomsEnd - c->atomsFirst) {
            TextBuilder builder{out};
            for (long i = start; i < end; ++i)
                builder.add(items[static_cast<std::size_t>(i - b.start - c->atomsFirst)]);
            return out;
        }
    }
    TextBuilder builder{out};
    for (long i = start; i < end; ++i) builder.add(at(i));
    return out;
}

}  // namespace tarvex::word::detail
