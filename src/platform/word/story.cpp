// The character model of a story: paragraphs, cells and rows flattened into position items.
#include <algorithm>
#include <cstring>

#include "platform/text/utf8.h"
#include "platform/word/doc_state.h"

namespace tarvex::word::detail {

namespace {

bool is(pugi::xml_node n, const char* name) { return std::strcmp(n.name(), name) == 0; }

class Flattener {
  public:
    Flattener(std::vector<Atom>& out, std::vector<ContainerSpan>& containers)
        : out_(out), containers_(containers) {}

    void blocks(pugi::xml_node container) {
        for (pugi::xml_node c : container.children()) {
            if (is(c, "w:p")) {
                paragraph(c);
            } else if (is(c, "w:tbl")) {
                table(c);
            } else if (is(c, "w:sdt")) {
                blocks(c.child("w:sdtContent"));
            } else if (is(c, "w:customXml")) {
                blocks(c);
            }
        }
    }

  private:
    void paragraph(pugi::xml_node p) {
        inlines(p, p);
        out_.push_back({AtomKind::ParaMark, p, 0, 0, U'\r', p});
    }

    void table(pugi::xml_node tbl) {
        long tableStart = here();
        for (pugi::xml_node tr : rowsOf(tbl)) {
            long rowStart = here();
            pugi::xml_node lastCell;
            for (pugi::xml_node tc : cellsOf(tr)) {
                std::size_t before = out_.size();
                blocks(tc);
                // The last paragraph of a cell is ended by the end-of-cell mark.
                if (out_.size() > before && out_.back().kind == AtomKind::ParaMark &&
                    out_.back().node.parent() == tc) {
                    out_.back().kind = AtomKind::CellMark;
                    out_.back().node = tc;
                } else {
                    out_.push_back({AtomKind::CellMark, tc, 0, 0, U'\a', pugi::xml_node()});
                }
                record(tc, static_cast<long>(before));
                lastCell = tc;
            }
            out_.push_back({AtomKind::RowMark, tr, 0, 0, U'\a', lastCell.last_child()});
            record(tr, rowStart);
        }
        record(tbl, tableStart);
    }

    long here() const { return static_cast<long>(out_.size()); }
    void record(pugi::xml_node container, long first) {
        containers_.push_back({container.internal_object(), first, here()});
    }

    void inlines(pugi::xml_node n, pugi::xml_node p) {
        for (pugi::xml_node c : n.children()) {
            const char* name = c.name();
            if (is(c, "w:r")) {
                run(c, p);
            } else if (is(c, "w:sdt")) {
                inlines(c.child("w:sdtContent"), p);
            } else if (!std::strcmp(name, "w:hyperlink") || !std::strcmp(name, "w:customXml") ||
                       !std::strcmp(name, "w:smartTag") || !std::strcmp(name, "w:fldSimple") ||
                       !std::strcmp(name, "w:ins") || !std::strcmp(name, "w:moveTo") ||
                       !std::strcmp(name, "w:dir") || !std::strcmp(name, "w:bdo")) {
                inlines(c, p);
            }
        }
    }

    void run(pugi::xml_node r, pugi::xml_node p) {
        for (pugi::xml_node c : r.children()) {
            const char* name = c.name();
            if (!std::strcmp(name, "w:t")) {
                const char* bytes = c.text().get();
                std::size_t length = std::strlen(bytes);
                std::size_t pos = 0;
                // A malformed byte is a character of its own (U+FFFD) whose byte stays as it was.
                while (pos < length) {
                    const text::Utf8Char ch = text::decodeUtf8(bytes + pos, length - pos);
                    out_.push_back({AtomKind::Char, c, static_cast<std::uint32_t>(pos),
                                    static_cast<std::uint32_t>(ch.size), ch.ch, p});
                    pos += ch.size;
                }
            } else if (!std::strcmp(name, "w:tab")) {
                push(c, U'\t', p);
            } else if (!std::strcmp(name, "w:br")) {
                std::string type = c.attribute("w:type").value();
                push(c, type == "page" ? U'\f' : type == "column" ? char32_t(14) : U'\v', p);
            } else if (!std::strcmp(name, "w:cr")) {
                push(c, U'\v', p);
            } else if (!std::strcmp(name, "w:noBreakHyphen")) {
                push(c, char32_t(30), p);
            } else if (!std::strcmp(name, "w:softHyphen")) {
                push(c, char32_t(31), p);
            } else if (!std::strcmp(name, "w:sym")) {
                push(
                    c,
                    static_cast<char32_t>(std::strtoul(c.attribute("w:char").value(), nullptr, 16)),
                    p);
            } else if (!std::strcmp(name, "w:commentReference")) {
                out_.push_back({AtomKind::Ref, c, 0, 0, 0, p});
            }
        }
    }

    void push(pugi::xml_node c, char32_t ch, pugi::xml_node p) {
        out_.push_back({AtomKind::Char, c, 0, 0, ch, p});
    }

    std::vector<Atom>& out_;
    std::vector<ContainerSpan>& containers_;
};

}  // namespace

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

const std::vector<Atom>& Story::atoms() {
    if (!valid_) {
        atoms_.clear();
        containers_.clear();
        Flattener(atoms_, containers_).blocks(root_);
        spanIndexValid_ = false;
        valid_ = true;
    }
    return atoms_;
}

void Story::touched() {
    part_.dirty = true;
    valid_ = false;
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
    atoms();
    if (!spanIndexValid_) {
        spanIndex_.clear();
        for (const ContainerSpan& c : containers_)
            spanIndex_.emplace(c.node, std::pair{c.first, c.end});
        spanIndexValid_ = true;
    }
    const char* name = container.name();
    if (!std::strcmp(name, "w:tbl") || !std::strcmp(name, "w:tr") || !std::strcmp(name, "w:tc")) {
        // Flattening enters these only through their table, and every item it emits inside one
        // lies in its subtree, so a container it never entered holds no item.
        auto found = spanIndex_.find(container.internal_object());
        if (found == spanIndex_.end() || found->second.first == found->second.second) return {0, 0};
        return found->second;
    }
    return scanSpan(container);
}

std::pair<long, long> Story::scanSpan(pugi::xml_node container) {
    const auto& items = atoms();
    long first = -1, last = -1;
    for (long i = 0; i < static_cast<long>(items.size()); ++i) {
        bool inside = false;
        for (pugi::xml_node p = items[i].node; p; p = p.parent()) {
            if (p == container) {
                inside = true;
                break;
            }
            if (p == root_) break;
        }
        if (inside) {
            if (first < 0) first = i;
            last = i;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0) return {0, 0};
    return {first, last + 1};
}

std::string Story::text(long start, long end) {
    const auto& items = atoms();
    std::string out;
    for (long i = std::max(0L, start); i < end && i < static_cast<long>(items.size()); ++i) {
        const Atom& a = items[i];
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
    return out;
}

}  // namespace tarvex::word::detail
