// Editing primitives. Every function works on the DOM in place and keeps unknown content.
#include "platform/word/edit.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <unordered_set>

#include "platform/text/utf8.h"

namespace tarvex::word::detail {

namespace {

bool is(pugi::xml_node n, const char* name) { return n && std::strcmp(n.name(), name) == 0; }

const std::vector<const char*> kRunOrder = {"w:rStyle",
                                            "w:rFonts",
                                            "w:b",
                                            "w:bCs",
                                            "w:i",
                                            "w:iCs",
                                            "w:caps",
                                            "w:smallCaps",
                                            "w:strike",
                                            "w:dstrike",
                                            "w:outline",
                                            "w:shadow",
                                            "w:emboss",
                                            "w:imprint",
                                            "w:noProof",
                                            "w:snapToGrid",
                                            "w:vanish",
                                            "w:webHidden",
                                            "w:color",
                                            "w:spacing",
                                            "w:w",
                                            "w:kern",
                                            "w:position",
                                            "w:sz",
                                            "w:szCs",
                                            "w:highlight",
                                            "w:u",
                                            "w:effect",
                                            "w:bdr",
                                            "w:shd",
                                            "w:fitText",
                                            "w:vertAlign",
                                            "w:rtl",
                                            "w:cs",
                                            "w:em",
                                            "w:lang",
                                            "w:eastAsianLayout",
                                            "w:specVanish",
                                            "w:oMath"};

const std::vector<const char*> kParaOrder = {"w:pStyle",
                                             "w:keepNext",
                                             "w:keepLines",
                                             "w:pageBreakBefore",
                                             "w:framePr",
                                             "w:widowControl",
                                             "w:numPr",
                                             "w:suppressLineNumbers",
                                             "w:pBdr",
                                             "w:shd",
                                             "w:tabs",
                                             "w:suppressAutoHyphens",
                                             "w:kinsoku",
                                             "w:wordWrap",
                                             "w:overflowPunct",
                                             "w:topLinePunct",
                                             "w:autoSpaceDE",
                                             "w:autoSpaceDN",
                                             "w:bidi",
                                             "w:adjustRightInd",
                                             "w:snapToGrid",
                                             "w:spacing",
                                             "w:ind",
                                             "w:contextualSpacing",
                                             "w:mirrorIndents",
                                             "w:suppressOverlap",
                                             "w:jc",
                                             "w:textDirection",
                                             "w:textAlignment",
                                             "w:textboxTightWrap",
                                             "w:outlineLvl",
                                             "w:divId",
                                             "w:cnfStyle",
                                             "w:rPr",
                                             "w:sectPr",
                                             "w:pPrChange"};

void setPreserve(pugi::xml_node t, const std::string& text) {
    bool needs = text.empty() || text.front() == ' ' || text.back() == ' ' ||
                 text.find("  ") != std::string::npos;
    if (needs && !t.attribute("xml:space")) t.append_attribute("xml:space") = "preserve";
}

// Splits `run` so that a run starts with child `el`; returns that run.
pugi::xml_node splitRunBefore(pugi::xml_node run, pugi::xml_node el) {
    pugi::xml_node first = run.first_child();
    while (first && is(first, "w:rPr")) first = first.next_sibling();
    if (first == el) return run;
    pugi::xml_node run2 = run.parent().insert_child_after("w:r", run);
    for (pugi::xml_attribute a : run.attributes()) run2.append_attribute(a.name()) = a.value();
    if (pugi::xml_node rPr = run.child("w:rPr")) run2.append_copy(rPr);
    for (pugi::xml_node n = el; n;) {
        pugi::xml_node next = n.next_sibling();
        run2.append_move(n);
        n = next;
    }
    return run2;
}

pugi::xml_node lastParagraphOf(pugi::xml_node container) {
    pugi::xml_node p = container.last_child();
    while (p && !is(p, "w:p")) p = p.previous_sibling();
    if (!p) p = container.append_child("w:p");
    return p;
}

pugi::xml_node paragraphOfAtom(const Atom& a) {
    switch (a.kind) {
        case AtomKind::ParaMark:
            return a.node;
        case AtomKind::CellMark:
            return a.para ? a.para : lastParagraphOf(a.node);
        case AtomKind::RowMark: {
            auto cells = cellsOf(a.node);
            return cells.empty() ? pugi::xml_node() : lastParagraphOf(cells.back());
        }
        default:
            return a.para;
    }
}

pugi::xml_node insertAt(InsertPoint pt, const char* name) {
    return pt.before ? pt.parent.insert_child_before(name, pt.before)
                     : pt.parent.append_child(name);
}

void appendTextRun(InsertPoint pt, const std::u32string& text, pugi::xml_node rPr) {
    pugi::xml_node r = insertAt(pt, "w:r");
    if (rPr) r.append_copy(rPr);
    std::string pending;
    auto flush = [&] {
        if (pending.empty()) return;
        pugi::xml_node t = r.append_child("w:t");
        t.text().set(pending.c_str());
        setPreserve(t, pending);
        pending.clear();
    };
    for (char32_t ch : text) {
        if (ch == U'\t') {
            flush();
            r.append_child("w:tab");
        } else if (ch == U'\v') {
            flush();
            r.append_child("w:br");
        } else {
            text::appendUtf8(pending, ch);
        }
    }
    flush();
}

bool isEmptyParagraph(pugi::xml_node p) {
    for (pugi::xml_node c : p.children()) {
        if (is(c, "w:pPr")) {
            if (c.child("w:sectPr")) return false;
        } else if (is(c, "w:r")) {
            for (pugi::xml_node rc : c.children())
                if (!is(rc, "w:rPr") && !is(rc, "w:lastRenderedPageBreak")) return false;
        } else if (!is(c, "w:proofErr")) {
            return false;
        }
    }
    return true;
}

// First item of paragraph `p`: its first character or mark, else its paragraph mark.
long firstItemOf(Story& story, pugi::xml_node p) {
    pugi::xml_node top = story.topOf(p);
    auto [from, to] = top ? story.span(top) : std::pair{0L, 0L};
    for (long i = from; i < to; ++i)
        if (story.at(i).para == p || story.at(i).node == p) return i;
    return story.size();
}

}  // namespace

pugi::xml_node paragraphOf(const Atom& atom) { return paragraphOfAtom(atom); }

pugi::xml_node orderedChild(pugi::xml_node parent, const char* name,
                            const std::vector<const char*>& order) {
    if (pugi::xml_node existing = parent.child(name)) return existing;
    auto rank = [&](const char* n) -> long {
        for (std::size_t i = 0; i < order.size(); ++i)
            if (!std::strcmp(order[i], n)) return static_cast<long>(i);
        return -1;
    };
    long mine = rank(name);
    for (pugi::xml_node c : parent.children()) {
        long r = rank(c.name());
        if (r > mine) return parent.insert_child_before(name, c);
    }
    return parent.append_child(name);
}

pugi::xml_node ensurePPr(pugi::xml_node p) {
    if (pugi::xml_node pPr = p.child("w:pPr")) return pPr;
    return p.prepend_child("w:pPr");
}

pugi::xml_node ensureRPr(pugi::xml_node r) {
    if (pugi::xml_node rPr = r.child("w:rPr")) return rPr;
    return r.prepend_child("w:rPr");
}

void copyParagraphProperties(pugi::xml_node from, pugi::xml_node to) {
    pugi::xml_node pPr = from.child("w:pPr");
    if (!pPr) return;
    pugi::xml_node copy = to.prepend_copy(pPr);
    while (pugi::xml_node s = copy.child("w:sectPr")) copy.remove_child(s);
    while (pugi::xml_node s = copy.child("w:pPrChange")) copy.remove_child(s);
}

bool runHas(pugi::xml_node run, const char* name) {
    pugi::xml_node prop = run.child("w:rPr").child(name);
    if (!prop) return false;
    std::string val = prop.attribute("w:val").value();
    if (!std::strcmp(name, "w:u")) return !val.empty() && val != "none";
    return val != "0" && val != "false" && val != "off";
}

InsertPoint resolveBefore(Story& story, long pos) {
    const auto& atoms = story.atoms();
    long n = static_cast<long>(atoms.size());
    if (n == 0) {
        pugi::xml_node p = story.root().append_child("w:p");
        story.touched(p);
        return {p, p, pugi::xml_node()};
    }
    if (pos >= n) {
        pugi::xml_node p = paragraphOfAtom(atoms[n - 1]);
        return {p, p, pugi::xml_node()};
    }
    const Atom a = atoms[std::max(0L, pos)];
    if (a.kind == AtomKind::ParaMark || a.kind == AtomKind::CellMark ||
        a.kind == AtomKind::RowMark) {
        pugi::xml_node p = paragraphOfAtom(a);
        return {p, p, pugi::xml_node()};
    }
    pugi::xml_node el = a.node;
    if (a.kind == AtomKind::Char && a.len && a.off > 0) {
        std::string all = el.text().get();
        std::string head = all.substr(0, a.off), tail = all.substr(a.off);
        el.text().set(head.c_str());
        setPreserve(el, head);
        pugi::xml_node el2 = el.parent().insert_child_after("w:t", el);
        el2.text().set(tail.c_str());
        setPreserve(el2, tail);
        el = el2;
    }
    pugi::xml_node run = el.parent();
    pugi::xml_node start = is(run, "w:r") ? splitRunBefore(run, el) : el;
    story.touched(start);
    return {a.para, start.parent(), start};
}

pugi::xml_node runPropsAt(Story& story, long pos) {
    const auto& atoms = story.atoms();
    long n = static_cast<long>(atoms.size());
    if (n == 0) return {};
    long at = std::clamp(pos, 0L, n - 1);
    pugi::xml_node para = paragraphOfAtom(atoms[at]);
    for (long i = std::min(pos, n) - 1; i >= 0 && atoms[i].para == para; --i)
        if (atoms[i].kind == AtomKind::Char) return atoms[i].node.parent().child("w:rPr");
    for (long i = std::max(pos, 0L); i < n && atoms[i].para == para; ++i)
        if (atoms[i].kind == AtomKind::Char) return atoms[i].node.parent().child("w:rPr");
    return para.child("w:pPr").child("w:rPr");
}

pugi::xml_node splitParagraph(InsertPoint point) {
    pugi::xml_node p = point.para;
    pugi::xml_node p2 = p.parent().insert_child_after("w:p", p);
    copyParagraphProperties(p, p2);
    // The section break belongs to the last paragraph of the section: the second half.
    if (pugi::xml_node sect = p.child("w:pPr").child("w:sectPr")) ensurePPr(p2).append_move(sect);
    pugi::xml_node parent = point.parent, before = point.before;
    while (parent && parent != p) {
        pugi::xml_node copy = parent.parent().insert_child_after(parent.name(), parent);
        for (pugi::xml_attribute a : parent.attributes())
            copy.append_attribute(a.name()) = a.value();
        for (pugi::xml_node n = before; n;) {
            pugi::xml_node next = n.next_sibling();
            copy.append_move(n);
            n = next;
        }
        before = copy;
        parent = parent.parent();
    }
    for (pugi::xml_node n = before; n;) {
        pugi::xml_node next = n.next_sibling();
        p2.append_move(n);
        n = next;
    }
    return p2;
}

long insertText(Story& story, long pos, const std::string& text, pugi::xml_node rPr,
                const RangeState* actor) {
    std::vector<std::u32string> paragraphs(1);
    for (std::size_t i = 0; i < text.size();) {
        const text::Utf8Char decoded = text::decodeUtf8(text.data() + i, text.size() - i);
        const char32_t ch = decoded.ch;
        i += decoded.size;
        if (ch == U'\r' || ch == U'\n') {
            if (ch == U'\r' && i < text.size() && text[i] == '\n') ++i;
            paragraphs.emplace_back();
        } else if ((ch < 0x20 && ch != U'\t' && ch != U'\v') || ch == 0xFFFE || ch == 0xFFFF) {
            raise(tarvex::errc::invalidCall, "Der Text enthält ein unzulässiges Steuerzeichen.");
        } else {
            paragraphs.back().push_back(ch);
        }
    }
    long before = story.size();
    // Text appended to a cell goes before its end-of-cell mark.
    if (pos > 0 && pos <= before && story.at(pos - 1).kind == AtomKind::CellMark) --pos;
    pugi::xml_node props = rPr ? rPr : runPropsAt(story, pos);
    pugi::xml_document holder;  // the template may live in a run that gets split
    if (props) props = holder.append_copy(props);
    InsertPoint pt = resolveBefore(story, pos);
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (!paragraphs[i].empty()) appendTextRun(pt, paragraphs[i], props);
        story.touched(pt.para);
        if (i + 1 < paragraphs.size()) {
            pugi::xml_node p2 = splitParagraph(pt);
            pugi::xml_node first = p2.first_child();
            while (first && is(first, "w:pPr")) first = first.next_sibling();
            pt = {p2, p2, first};
            story.touched(p2);
        }
    }
    long inserted = story.size() - before;
    story.shift(pos, 0, inserted, actor);
    return inserted;
}

void deleteItems(Story& story, long start, long end) {
    DocState& doc = story.doc();
    long n = story.size();
    start = std::clamp(start, 0L, n);
    end = std::clamp(end, start, n);
    if (start == end) return;
    // The items as they were before this edit: [start, end] (the one after the range too).
    const long copied = std::min(end + 1, n);
    std::vector<Atom> before;
    before.reserve(static_cast<std::size_t>(copied - start));
    for (long i = start; i < copied; ++i) before.push_back(story.at(i));
    auto atoms = [&](long i) -> const Atom& { return before[static_cast<std::size_t>(i - start)]; };

    std::vector<pugi::xml_node> tables;
    for (long i = start; i < end; ++i) {
        pugi::xml_node outer;
        for (pugi::xml_node p = atoms(i).node; p && p != story.root(); p = p.parent())
            if (is(p, "w:tbl")) outer = p;
        if (outer && std::ranges::find(tables, outer) == tables.end()) {
            auto [ts, te] = story.span(outer);
            if (ts >= start && te <= end) tables.push_back(outer);
        }
    }
    auto inDeletedTable = [&](pugi::xml_node node) {
        for (pugi::xml_node p = node; p; p = p.parent())
            if (std::ranges::find(tables, p) != tables.end()) return true;
        return false;
    };

    std::vector<std::string> commentIds;
    std::set<pugi::xml_node_struct*> runs;
    bool marked = false;
    for (long i = end - 1; i >= start; --i) {
        const Atom& a = atoms(i);
        if (inDeletedTable(a.node)) continue;
        if (!marked) {
            story.touchedItems(start, copied - 1);
            marked = true;
        }
        if (a.kind == AtomKind::Char) {
            runs.insert(a.node.parent().internal_object());
            if (a.len) {
                std::string all = a.node.text().get();
                all.erase(a.off, a.len);
                a.node.text().set(all.c_str());
                if (!all.empty()) setPreserve(a.node, all);
            } else {
                story.part().discard(a.node);
            }
        } else if (a.kind == AtomKind::Ref) {
            commentIds.emplace_back(a.node.attribute("w:id").value());
        } else if (a.kind == AtomKind::ParaMark && i + 1 < n) {
            pugi::xml_node next = paragraphOfAtom(atoms(i + 1));
            if (!next || next == a.node || next.previous_sibling() != a.node) continue;
            pugi::xml_node para = a.node;
            for (pugi::xml_node c = next.first_child(); c;) {
                pugi::xml_node following = c.next_sibling();
                if (!is(c, "w:pPr")) para.append_move(c);
                c = following;
            }
            pugi::xml_node sect = next.child("w:pPr").child("w:sectPr");
            if (sect && !para.child("w:pPr").child("w:sectPr")) ensurePPr(para).append_move(sect);
            story.part().discard(next);
        }
    }
    for (pugi::xml_node_struct* raw : runs) {
        pugi::xml_node run(raw);
        for (pugi::xml_node t = run.child("w:t"); t;) {
            pugi::xml_node next = t.next_sibling("w:t");
            if (!*t.text().get()) run.remove_child(t);
            t = next;
        }
        bool empty = true;
        for (pugi::xml_node c : run.children())
            if (!is(c, "w:rPr")) empty = false;
        if (empty) story.part().discard(run);
    }
    if (marked) doc.commentIdsChanged();
    long removed = n - story.size();
    story.shift(start, end - start, (end - start) - removed);
    // Each of these shifts the live ranges by what it removes itself.
    for (pugi::xml_node tbl : tables) deleteTable(story, tbl);
    for (const auto& id : commentIds) doc.removeComment(id);
}

void setRunProperty(Story& story, long start, long end, const char* name, bool on) {
    long n = story.size();
    if (start >= end) return;
    resolveBefore(story, start);
    if (end < n && story.at(end).kind != AtomKind::ParaMark) resolveBefore(story, end);
    std::set<pugi::xml_node_struct*> runs;
    for (long i = start; i < end; ++i) {
        const Atom& a = story.at(i);
        if (a.kind == AtomKind::Char) runs.insert(a.node.parent().internal_object());
    }
    bool underline = !std::strcmp(name, "w:u");
    for (pugi::xml_node_struct* raw : runs) {
        pugi::xml_node prop = orderedChild(ensureRPr(pugi::xml_node(raw)), name, kRunOrder);
        prop.remove_attribute("w:val");
        if (underline)
            prop.append_attribute("w:val") = on ? "single" : "none";
        else if (!on)
            prop.append_attribute("w:val") = "0";
    }
    story.changed();
}

bool allRunsHave(Story& story, long start, long end, const char* name) {
    bool any = false;
    const auto& atoms = story.atoms();
    for (long i = std::max(0L, start); i < end && i < static_cast<long>(atoms.size()); ++i) {
        if (atoms[i].kind != AtomKind::Char) continue;
        any = true;
        if (!runHas(atoms[i].node.parent(), name)) return false;
    }
    return any;
}

std::vector<pugi::xml_node> paragraphsIn(Story& story, long start, long end) {
    const auto& atoms = story.atoms();
    long n = static_cast<long>(atoms.size());
    std::vector<pugi::xml_node> out;
    std::unordered_set<pugi::xml_node_struct*> seen;
    long last = std::max(end, start + 1);
    for (long i = std::max(0L, start); i < last && i < n; ++i) {
        if (atoms[i].kind == AtomKind::RowMark) continue;
        pugi::xml_node p = paragraphOfAtom(atoms[i]);
        if (p && seen.insert(p.internal_object()).second) out.push_back(p);
    }
    if (out.empty() && n > 0) out.push_back(paragraphOfAtom(atoms[n - 1]));
    return out;
}

void setAlignment(pugi::xml_node p, Alignment alignment) {
    pugi::xml_node jc = orderedChild(ensurePPr(p), "w:jc", kParaOrder);
    jc.remove_attribute("w:val");
    const char* val = alignment == Alignment::Center    ? "center"
                      : alignment == Alignment::Right   ? "right"
                      : alignment == Alignment::Justify ? "both"
                                                        : "left";
    jc.append_attribute("w:val") = val;
}

Alignment alignmentOf(pugi::xml_node p) {
    std::string val = p.child("w:pPr").child("w:jc").attribute("w:val").value();
    if (val == "center") return Alignment::Center;
    if (val == "right" || val == "end") return Alignment::Right;
    if (val == "both" || val == "distribute") return Alignment::Justify;
    return Alignment::Left;
}

long bodyTextWidthTwips(DocState& doc) {
    pugi::xml_node sect = doc.mainPart->root().child("w:body").child("w:sectPr");
    long width = sect.child("w:pgSz").attribute("w:w").as_int(11906);
    long left = sect.child("w:pgMar").attribute("w:left").as_int(1418);
    long right = sect.child("w:pgMar").attribute("w:right").as_int(1134);
    long text = width - left - right;
    return text > 500 ? text : 9638;
}

pugi::xml_node insertTable(Story& story, long pos, long rows, long columns) {
    if (rows < 1 || columns < 1 || rows > 32767 || columns > 63)
        raise(tarvex::errc::invalidCall,
              "Ungültige Zeilen- oder Spaltenzahl für eine neue Tabelle.");
    long before = story.size();
    if (before == 0) resolveBefore(story, 0);
    long n = story.size();
    bool atEnd = pos >= n;
    long at = std::clamp(pos, 0L, n - 1);
    pugi::xml_node p = paragraphOfAtom(story.at(at));
    bool empty = isEmptyParagraph(p);
    bool afterTable = is(p.previous_sibling(), "w:tbl");
    bool atMark = atEnd || (story.at(at).kind == AtomKind::ParaMark && story.at(at).node == p);
    long firstOfP = firstItemOf(story, p);
    // Nothing of the paragraph but its mark lies before the position.
    bool atStart = true;
    for (long i = firstOfP; i < pos && i < n && story.at(i).para == p; ++i)
        if (story.at(i).kind != AtomKind::ParaMark) atStart = false;
    long markOfP = firstOfP;
    while (markOfP < n && story.at(markOfP).node != p && story.at(markOfP).para != p) ++markOfP;
    for (long i = firstOfP; i < n && (story.at(i).para == p || story.at(i).node == p); ++i)
        markOfP = i;

    pugi::xml_node tbl;
    long shiftAt = 0, removed = 0;
    bool replace = false;
    if (empty && !afterTable) {
        tbl = p.parent().insert_child_before("w:tbl", p);
        replace = true;
        shiftAt = firstOfP;
        removed = 1;
    } else if (empty || atMark) {
        tbl = p.parent().insert_child_after("w:tbl", p);
        shiftAt = markOfP + 1;
    } else if (atStart) {
        tbl = p.parent().insert_child_before("w:tbl", p);
        shiftAt = firstOfP;
    } else {
        pugi::xml_node p2 = splitParagraph(resolveBefore(story, pos));
        tbl = p.parent().insert_child_before("w:tbl", p2);
        shiftAt = pos;
    }

    long width = bodyTextWidthTwips(story.doc());
    long cell = width / columns;
    pugi::xml_node tblPr = tbl.append_child("w:tblPr");
    pugi::xml_node tblW = tblPr.append_child("w:tblW");
    tblW.append_attribute("w:w") = cell * columns;
    tblW.append_attribute("w:type") = "dxa";
    pugi::xml_node borders = tblPr.append_child("w:tblBorders");
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
        pugi::xml_node b = borders.append_child(side);
        b.append_attribute("w:val") = "single";
        b.append_attribute("w:sz") = "4";
        b.append_attribute("w:space") = "0";
        b.append_attribute("w:color") = "auto";
    }
    tblPr.append_child("w:tblLayout").append_attribute("w:type") = "fixed";
    pugi::xml_node grid = tbl.append_child("w:tblGrid");
    for (long c = 0; c < columns; ++c)
        grid.append_child("w:gridCol").append_attribute("w:w") = cell;
    for (long r = 0; r < rows; ++r) {
        pugi::xml_node tr = tbl.append_child("w:tr");
        for (long c = 0; c < columns; ++c) {
            pugi::xml_node tc = tr.append_child("w:tc");
            pugi::xml_node tcW = tc.append_child("w:tcPr").append_child("w:tcW");
            tcW.append_attribute("w:w") = cell;
            tcW.append_attribute("w:type") = "dxa";
            tc.append_child("w:p");
        }
    }
    if (replace) story.part().discard(p);
    // A paragraph always follows a table, and two tables never touch (they would merge).
    pugi::xml_node next = tbl.next_sibling();
    if (!is(next, "w:p")) copyParagraphProperties(p, tbl.parent().insert_child_after("w:p", tbl));
    if (is(tbl.previous_sibling(), "w:tbl"))
        copyParagraphProperties(p, tbl.parent().insert_child_before("w:p", tbl));
    story.touched(tbl);
    if (!replace) story.touched(p);
    long inserted = story.size() - before + removed;
    story.shift(shiftAt, removed, inserted);
    return tbl;
}

void deleteTable(Story& story, pugi::xml_node tbl) {
    DocState& doc = story.doc();
    long before = story.size();
    auto [ts, te] = story.span(tbl);
    std::vector<std::string> commentIds;
    for (pugi::xpath_node x : tbl.select_nodes(".//w:commentReference"))
        commentIds.emplace_back(x.node().attribute("w:id").value());
    // Mark pairs cut in half by the deletion lose their other half too.
    static const std::vector<std::pair<std::string, std::string>> pairs = {
        {"w:bookmarkStart", "w:bookmarkEnd"},
        {"w:permStart", "w:permEnd"},
        {"w:moveFromRangeStart", "w:moveFromRangeEnd"},
        {"w:moveToRangeStart", "w:moveToRangeEnd"}};
    std::vector<std::pair<std::string, std::string>> partners;  // element name, id
    for (const auto& [open, close] : pairs) {
        std::vector<std::string> opened, closed;
        for (pugi::xpath_node x : tbl.select_nodes((".//" + open).c_str()))
            opened.emplace_back(x.node().attribute("w:id").value());
        for (pugi::xpath_node x : tbl.select_nodes((".//" + close).c_str()))
            closed.emplace_back(x.node().attribute("w:id").value());
        // A pair wholly inside the table goes with it: only halves whose partner lies outside
        // are searched for in the rest of the story (a walk over all of it).
        for (const auto& id : opened)
            if (std::ranges::find(closed, id) == closed.end()) partners.emplace_back(close, id);
        for (const auto& id : closed)
            if (std::ranges::find(opened, id) == opened.end()) partners.emplace_back(open, id);
    }
    pugi::xml_node parent = tbl.parent();
    pugi::xml_node prev = tbl.previous_sibling(), next = tbl.next_sibling();
    story.part().discard(tbl);
    for (const auto& [name, id] : partners) {
        std::vector<pugi::xml_node> doomed;
        for (pugi::xpath_node x : story.root().select_nodes((".//" + name).c_str()))
            if (id == x.node().attribute("w:id").value()) doomed.push_back(x.node());
        for (pugi::xml_node d : doomed) story.part().discard(d);
    }
    story.touched(parent);
    doc.commentIdsChanged();
    for (const auto& id : commentIds) doc.removeComment(id);
    if (is(prev, "w:tbl") && is(next, "w:tbl")) parent.insert_child_before("w:p", next);
    if (is(parent, "w:tc") && !is(parent.last_child(), "w:p")) parent.append_child("w:p");
    if (is(parent, "w:body")) {
        pugi::xml_node last = parent.last_child();
        if (is(last, "w:sectPr")) last = last.previous_sibling();
        if (!is(last, "w:p")) {
            pugi::xml_node sect = parent.child("w:sectPr");
            sect ? parent.insert_child_before("w:p", sect) : parent.append_child("w:p");
        }
    }
    story.touched(parent);
    long after = story.size();
    story.shift(ts, te - ts, after - (before - (te - ts)));
}

}  // namespace tarvex::word::detail
