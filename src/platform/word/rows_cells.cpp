// Rows of a table and cells of a row, looking through content-control and custom-XML wrappers.
#include "platform/word/doc_state.h"
#include "platform/word/walk.h"

namespace tarvex::word::detail {

namespace {

// The `index`-th (from 0) child named `name` of `parent`, looking through content-control and
// custom-XML wrappers as rowsOf/cellsOf do; counts them all when `index` is negative.
std::pair<pugi::xml_node, long> nthWrapped(pugi::xml_node parent, const char* name, long index) {
    long seen = 0;
    for (pugi::xml_node c : parent.children()) {
        if (same(c.name(), name)) {
            if (seen++ == index) return {c, seen};
        } else if (same(c.name(), "w:sdt") || same(c.name(), "w:customXml")) {
            pugi::xml_node inner = same(c.name(), "w:sdt") ? c.child("w:sdtContent") : c;
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
    forEachWrapped(tbl, "w:tr", [&](pugi::xml_node tr) { rows.push_back(tr); });
    return rows;
}

std::vector<pugi::xml_node> cellsOf(pugi::xml_node tr) {
    std::vector<pugi::xml_node> cells;
    forEachWrapped(tr, "w:tc", [&](pugi::xml_node tc) { cells.push_back(tc); });
    return cells;
}

}  // namespace tarvex::word::detail
