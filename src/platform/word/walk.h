#pragma once
// Walking a part's element tree in document order without recursion, so that deeply nested
// input cannot exhaust the stack, and without entering the elements that only hold properties
// or text (run, paragraph, cell, row and table properties, w:t): marks, drawings and comment
// anchors never sit inside them, and they make up most of a document's elements.

#include <cstring>
#include <pugixml.hpp>

namespace tarvex::word::detail {

// String equality the compiler can inline: element names are short and mostly differ early.
inline bool same(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

inline bool holdsOnlyPropertiesOrText(const char* name) {
    if (name[0] != 'w' || name[1] != ':') return false;
    const char* l = name + 2;
    switch (l[0]) {
        case 't':
            return l[1] == 0 || same(l, "tcPr") || same(l, "trPr") || same(l, "tblPr") ||
                   same(l, "tblGrid");
        case 'r':
            return same(l, "rPr");
        case 'p':
            return same(l, "pPr");
        case 'i':
            return same(l, "instrText");
        case 'd':
            return same(l, "delText");
        default:
            return false;
    }
}

// True when `name` equals `wanted`.
inline bool named(const char* name, const char* wanted) { return same(name, wanted); }

// Calls visit(element) for every element below `root` (not `root` itself) in document order;
// when visit returns false, the element's children are skipped.
template <class Visit>
void forEachElement(pugi::xml_node root, Visit&& visit) {
    pugi::xml_node n = root.first_child();
    while (n) {
        bool descend = false;
        if (n.type() == pugi::node_element) {
            descend = visit(n) && !holdsOnlyPropertiesOrText(n.name());
        }
        if (descend && n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != root && !n.next_sibling()) n = n.parent();
        if (!n || n == root) break;
        n = n.next_sibling();
    }
}

// Calls visit(child) for each child of `parent` named `name`, looking through content-control
// and custom-XML wrappers.
template <class Visit>
void forEachWrapped(pugi::xml_node parent, const char* name, Visit&& visit) {
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        const char* own = c.name();
        if (same(own, name)) {
            visit(c);
        } else if (same(own, "w:sdt") || same(own, "w:customXml")) {
            pugi::xml_node inner = same(own, "w:sdt") ? c.child("w:sdtContent") : c;
            for (pugi::xml_node r = inner.child(name); r; r = r.next_sibling(name)) visit(r);
        }
    }
}

}  // namespace tarvex::word::detail
