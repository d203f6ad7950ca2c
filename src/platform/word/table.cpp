// Tables, rows, columns, cells and borders.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "platform/word/doc_state.h"
#include "platform/word/edit.h"

namespace tarvex::word {

using namespace detail;

namespace detail {

const std::vector<const char*> kTblPrOrder = {"w:tblStyle",
                                              "w:tblpPr",
                                              "w:tblOverlap",
                                              "w:bidiVisual",
                                              "w:tblStyleRowBandSize",
                                              "w:tblStyleColBandSize",
                                              "w:tblW",
                                              "w:jc",
                                              "w:tblCellSpacing",
                                              "w:tblInd",
                                              "w:tblBorders",
                                              "w:shd",
                                              "w:tblLayout",
                                              "w:tblCellMar",
                                              "w:tblLook",
                                              "w:tblCaption",
                                              "w:tblDescription"};
const std::vector<const char*> kTcPrOrder = {
    "w:cnfStyle", "w:tcW",   "w:gridSpan",      "w:hMerge",    "w:vMerge", "w:tcBorders", "w:shd",
    "w:noWrap",   "w:tcMar", "w:textDirection", "w:tcFitText", "w:vAlign", "w:hideMark"};

namespace {

const std::vector<const char*> kBorderOrder = {"w:top",   "w:left", "w:start",   "w:bottom",
                                               "w:right", "w:end",  "w:insideH", "w:insideV"};

bool is(pugi::xml_node n, const char* name) { return n && std::strcmp(n.name(), name) == 0; }

void blockTables(pugi::xml_node container, std::vector<pugi::xml_node>& out) {
    for (pugi::xml_node c : container.children()) {
        if (is(c, "w:tbl"))
            out.push_back(c);
        else if (is(c, "w:sdt"))
            blockTables(c.child("w:sdtContent"), out);
        else if (is(c, "w:customXml"))
            blockTables(c, out);
    }
}

pugi::xml_node ensureFirst(pugi::xml_node parent, const char* name) {
    if (pugi::xml_node n = parent.child(name)) return n;
    return parent.prepend_child(name);
}

pugi::xml_node tcPrOf(pugi::xml_node tc) { return ensureFirst(tc, "w:tcPr"); }

void setTwips(pugi::xml_node el, long twips) {
    el.remove_attribute("w:w");
    el.remove_attribute("w:type");
    el.append_attribute("w:w") = twips;
    el.append_attribute("w:type") = "dxa";
}

long twipsOf(double points) {
    if (!(points > 0) || points > 2000) raise(tarvex::errc::invalidCall, "Ungültige Breite.");
    return std::lround(points * 20.0);
}

}  // namespace

std::vector<pugi::xml_node> topLevelTables(pugi::xml_node root) {
    std::vector<pugi::xml_node> out;
    blockTables(root, out);
    return out;
}

const std::vector<const XmlNode*>& DocState::bodyTables() {
    if (bodyTablesAt_ != edits) {
        bodyTables_.clear();
        for (pugi::xml_node t : topLevelTables(body().root())) bodyTables_.push_back(toRef(t));
        bodyTablesAt_ = edits;
    }
    return bodyTables_;
}

void DocState::gridChanged(pugi::xml_node tbl) {
    if (tbl && std::find(gridsPending_.begin(), gridsPending_.end(), tbl) == gridsPending_.end())
        gridsPending_.push_back(tbl);
}

void DocState::settleGrids() {
    for (pugi::xml_node tbl : gridsPending_)
        if (mainPart->contains(tbl)) recomputeGrid(tbl);
    gridsPending_.clear();
}

void recomputeGrid(pugi::xml_node tbl) {
    std::vector<long> grid;
    for (pugi::xml_node g : tbl.child("w:tblGrid").children("w:gridCol"))
        grid.push_back(g.attribute("w:w").as_int());
    std::vector<std::vector<std::pair<pugi::xml_node, long>>> rows;
    for (pugi::xml_node tr : rowsOf(tbl)) {
        pugi::xml_node trPr = tr.child("w:trPr");
        if (trPr.child("w:gridBefore") || trPr.child("w:gridAfter"))
            return;  // leave such tables alone
        std::vector<std::pair<pugi::xml_node, long>> cells;
        std::size_t column = 0;
        for (pugi::xml_node tc : cellsOf(tr)) {
            pugi::xml_node tcPr = tc.child("w:tcPr");
            if (tcPr.child("w:vMerge") || tcPr.child("w:hMerge")) return;
            long span = std::max(1, tcPr.child("w:gridSpan").attribute("w:val").as_int(1));
            pugi::xml_node tcW = tcPr.child("w:tcW");
            long width = 0;
            if (tcW &&
                (std::string(tcW.attribute("w:type").value()) == "dxa" || !tcW.attribute("w:type")))
                width = tcW.attribute("w:w").as_int();
            if (width <= 0)
                for (long s = 0; s < span && column + s < grid.size(); ++s)
                    width += grid[column + s];
            column += static_cast<std::size_t>(span);
            cells.emplace_back(tc, std::max(width, 1L));
        }
        rows.push_back(std::move(cells));
    }
    std::set<long> edges;
    long widest = 0;
    for (const auto& row : rows) {
        long edge = 0;
        for (const auto& cell : row) edges.insert(edge += cell.second);
        widest = std::max(widest, edge);
    }
    if (edges.empty()) return;
    for (const auto& row : rows) {
        long edge = 0;
        for (const auto& [tc, width] : row) {
            long from = edge;
            edge += width;
            long span = std::count_if(edges.begin(), edges.end(),
                                      [&](long e) { return e > from && e <= edge; });
            pugi::xml_node tcPr = tcPrOf(tc);
            setTwips(orderedChild(tcPr, "w:tcW", kTcPrOrder), width);
            if (span > 1) {
                pugi::xml_node gs = orderedChild(tcPr, "w:gridSpan", kTcPrOrder);
                gs.remove_attribute("w:val");
                gs.append_attribute("w:val") = span;
            } else if (pugi::xml_node gs = tcPr.child("w:gridSpan")) {
                tcPr.remove_child(gs);
            }
        }
    }
    pugi::xml_node tblGrid = tbl.child("w:tblGrid");
    if (!tblGrid) tblGrid = tbl.insert_child_after("w:tblGrid", tbl.child("w:tblPr"));
    while (pugi::xml_node g = tblGrid.child("w:gridCol")) tblGrid.remove_child(g);
    long previous = 0;
    pugi::xml_node change = tblGrid.child("w:tblGridChange");
    for (long e : edges) {
        pugi::xml_node g = change ? tblGrid.insert_child_before("w:gridCol", change)
                                  : tblGrid.append_child("w:gridCol");
        g.append_attribute("w:w") = e - previous;
        previous = e;
    }
    pugi::xml_node tblPr = ensureFirst(tbl, "w:tblPr");
    setTwips(orderedChild(tblPr, "w:tblW", kTblPrOrder), widest);
    pugi::xml_node layout = orderedChild(tblPr, "w:tblLayout", kTblPrOrder);
    layout.remove_attribute("w:type");
    layout.append_attribute("w:type") = "fixed";
}

}  // namespace detail

namespace {

void requireTable(const std::shared_ptr<DocState>& doc, const XmlNode* n) {
    doc->requireAlive(toNode(n), *doc->mainPart);
}

void selectRanges(const std::shared_ptr<DocState>& doc,
                  std::vector<std::shared_ptr<RangeState>> ranges) {
    doc->selection.select(std::move(ranges));
}

std::shared_ptr<RangeState> rangeOver(const std::shared_ptr<DocState>& doc,
                                      pugi::xml_node container) {
    Story& body = doc->body();
    auto [s, e] = body.span(container);
    return body.makeRange(s, e);
}

}  // namespace

// --- Cell --------------------------------------------------------------------------------------

Cell::Cell(std::shared_ptr<DocState> doc, const XmlNode* tc) : doc_(std::move(doc)), tc_(tc) {}

word::Range Cell::Range() const {
    requireTable(doc_, tc_);
    return word::Range(rangeOver(doc_, toNode(tc_)));
}

void Cell::Select() { selectRanges(doc_, {Range().state()}); }

void Cell::SetWidth(double points) {
    requireTable(doc_, tc_);
    long twips = twipsOf(points);
    pugi::xml_node tc = toNode(tc_);
    setTwips(orderedChild(tcPrOf(tc), "w:tcW", kTcPrOrder), twips);
    pugi::xml_node tbl = tc.parent();
    while (tbl && !is(tbl, "w:tbl")) tbl = tbl.parent();
    doc_->gridChanged(tbl);
    doc_->body().changed();
}

double Cell::Width() const {
    requireTable(doc_, tc_);
    doc_->settleGrids();
    return toNode(tc_).child("w:tcPr").child("w:tcW").attribute("w:w").as_int() / 20.0;
}

long Cell::RowIndex() const {
    requireTable(doc_, tc_);
    pugi::xml_node tr = toNode(tc_).parent();
    while (tr && !is(tr, "w:tr")) tr = tr.parent();
    pugi::xml_node tbl = tr.parent();
    while (tbl && !is(tbl, "w:tbl")) tbl = tbl.parent();
    auto rows = rowsOf(tbl);
    return static_cast<long>(std::ranges::find(rows, tr) - rows.begin()) + 1;
}

long Cell::ColumnIndex() const {
    requireTable(doc_, tc_);
    pugi::xml_node tr = toNode(tc_).parent();
    while (tr && !is(tr, "w:tr")) tr = tr.parent();
    auto cells = cellsOf(tr);
    return static_cast<long>(std::ranges::find(cells, toNode(tc_)) - cells.begin()) + 1;
}

// --- Row / Rows ----------------------------------------------------------------------------------

Row::Row(std::shared_ptr<DocState> doc, const XmlNode* tr) : doc_(std::move(doc)), tr_(tr) {}

word::Range Row::Range() const {
    requireTable(doc_, tr_);
    return word::Range(rangeOver(doc_, toNode(tr_)));
}

long Row::Index() const {
    requireTable(doc_, tr_);
    pugi::xml_node tbl = toNode(tr_).parent();
    while (tbl && !is(tbl, "w:tbl")) tbl = tbl.parent();
    auto rows = rowsOf(tbl);
    return static_cast<long>(std::ranges::find(rows, toNode(tr_)) - rows.begin()) + 1;
}

long Row::CellCount() const {
    requireTable(doc_, tr_);
    return cellCount(toNode(tr_));
}

void Row::SetHeight(double points, RowHeightRule rule) {
    requireTable(doc_, tr_);
    if (points < 0 || points > 1584) raise(tarvex::errc::invalidCall, "Ungültige Zeilenhöhe.");
    pugi::xml_node tr = toNode(tr_);
    pugi::xml_node trPr = tr.child("w:trPr");
    if (!trPr) {
        pugi::xml_node ex = tr.child("w:tblPrEx");
        trPr = ex ? tr.insert_child_after("w:trPr", ex) : tr.prepend_child("w:trPr");
    }
    pugi::xml_node height = trPr.child("w:trHeight");
    if (!height) height = trPr.append_child("w:trHeight");
    height.remove_attribute("w:val");
    height.remove_attribute("w:hRule");
    height.append_attribute("w:val") = std::lround(points * 20.0);
    height.append_attribute("w:hRule") = rule == RowHeightRule::Exactly   ? "exact"
                                         : rule == RowHeightRule::AtLeast ? "atLeast"
                                                                          : "auto";
    doc_->body().changed();
}

double Row::Height() const {
    requireTable(doc_, tr_);
    return toNode(tr_).child("w:trPr").child("w:trHeight").attribute("w:val").as_int() / 20.0;
}

RowHeightRule Row::HeightRule() const {
    requireTable(doc_, tr_);
    pugi::xml_node h = toNode(tr_).child("w:trPr").child("w:trHeight");
    if (!h) return RowHeightRule::Auto;
    std::string rule = h.attribute("w:hRule").value();
    return rule == "exact"  ? RowHeightRule::Exactly
           : rule == "auto" ? RowHeightRule::Auto
                            : RowHeightRule::AtLeast;
}

Rows::Rows(std::shared_ptr<DocState> doc, const XmlNode* tbl) : doc_(std::move(doc)), tbl_(tbl) {}

long Rows::Count() const {
    requireTable(doc_, tbl_);
    return static_cast<long>(doc_->rowsCached(toNode(tbl_)).size());
}

Row Rows::Item(long index) const {
    requireTable(doc_, tbl_);
    const auto& rows = doc_->rowsCached(toNode(tbl_));
    if (index < 1 || index > static_cast<long>(rows.size()))
        throw Error(tarvex::errc::subscriptOutOfRange);
    return Row(doc_, toRef(rows[static_cast<std::size_t>(index - 1)]));
}

Row Rows::Add() {
    requireTable(doc_, tbl_);
    auto rows = rowsOf(toNode(tbl_));
    if (rows.empty()) raise(tarvex::errc::invalidCall, "Die Tabelle hat keine Zeile als Vorlage.");
    Story& body = doc_->body();
    long before = body.size();
    pugi::xml_node last = rows.back();
    pugi::xml_node row = last.parent().insert_copy_after(last, last);
    for (const char* attr : {"w14:paraId", "w14:textId"}) row.remove_attribute(attr);
    // The new row keeps the shape and paragraph formats of the last row, but none of its content.
    for (pugi::xml_node tc : cellsOf(row)) {
        pugi::xml_node model = tc.child("w:p");
        pugi::xml_node fresh = tc.append_child("w:p");
        if (model) copyParagraphProperties(model, fresh);
        for (pugi::xml_node c = tc.first_child(); c != fresh;) {
            pugi::xml_node next = c.next_sibling();
            if (!is(c, "w:tcPr")) tc.remove_child(c);
            c = next;
        }
    }
    body.touched(row);
    auto [s, e] = body.span(row);
    body.shift(s, 0, body.size() - before);
    return Row(doc_, toRef(row));
}

// --- Column / Columns ----------------------------------------------------------------------------

Column::Column(std::shared_ptr<DocState> doc, const XmlNode* tbl, long index)
    : doc_(std::move(doc)), tbl_(tbl), index_(index) {}

void Column::SetWidth(double points) {
    requireTable(doc_, tbl_);
    long twips = twipsOf(points);
    for (pugi::xml_node tr : rowsOf(toNode(tbl_))) {
        auto cells = cellsOf(tr);
        if (index_ <= static_cast<long>(cells.size()))
            setTwips(orderedChild(tcPrOf(cells[static_cast<std::size_t>(index_ - 1)]), "w:tcW",
                                  kTcPrOrder),
                     twips);
    }
    doc_->gridChanged(toNode(tbl_));
    doc_->body().changed();
}

void Column::Select() {
    requireTable(doc_, tbl_);
    std::vector<std::shared_ptr<RangeState>> ranges;
    for (pugi::xml_node tr : rowsOf(toNode(tbl_))) {
        auto cells = cellsOf(tr);
        if (index_ <= static_cast<long>(cells.size()))
            ranges.push_back(rangeOver(doc_, cells[static_cast<std::size_t>(index_ - 1)]));
    }
    selectRanges(doc_, std::move(ranges));
}

Columns::Columns(std::shared_ptr<DocState> doc, const XmlNode* tbl)
    : doc_(std::move(doc)), tbl_(tbl) {}

long Columns::Count() const {
    requireTable(doc_, tbl_);
    std::size_t most = 0;
    for (pugi::xml_node tr : rowsOf(toNode(tbl_))) most = std::max(most, cellsOf(tr).size());
    return static_cast<long>(most);
}

Column Columns::Item(long index) const {
    if (index < 1 || index > Count()) throw Error(tarvex::errc::subscriptOutOfRange);
    return Column(doc_, tbl_, index);
}

// --- Border ------------------------------------------------------------------------------------

Border::Border(std::shared_ptr<DocState> doc, const XmlNode* tbl, BorderIndex index)
    : doc_(std::move(doc)), tbl_(tbl), index_(index) {}

namespace {

std::vector<const char*> sideNames(BorderIndex index) {
    switch (index) {
        case BorderIndex::Top:
            return {"w:top"};
        case BorderIndex::Left:
            return {"w:left", "w:start"};
        case BorderIndex::Bottom:
            return {"w:bottom"};
        case BorderIndex::Right:
            return {"w:right", "w:end"};
        case BorderIndex::Horizontal:
            return {"w:insideH"};
        case BorderIndex::Vertical:
            return {"w:insideV"};
    }
    raise(tarvex::errc::invalidCall, "Ungültiger Rahmenindex.");
}

}  // namespace

LineStyle Border::GetLineStyle() const {
    requireTable(doc_, tbl_);
    pugi::xml_node borders = toNode(tbl_).child("w:tblPr").child("w:tblBorders");
    for (const char* name : sideNames(index_)) {
        std::string val = borders.child(name).attribute("w:val").value();
        if (!val.empty())
            return val == "nil" || val == "none" ? LineStyle::None : LineStyle::Single;
    }
    return LineStyle::None;
}

void Border::SetLineStyle(LineStyle style) {
    requireTable(doc_, tbl_);
    pugi::xml_node tbl = toNode(tbl_);
    auto names = sideNames(index_);
    pugi::xml_node borders = orderedChild(ensureFirst(tbl, "w:tblPr"), "w:tblBorders", kTblPrOrder);
    pugi::xml_node side = borders.child(names.back());
    if (!side) side = orderedChild(borders, names.front(), kBorderOrder);
    while (side.first_attribute()) side.remove_attribute(side.first_attribute());
    if (style == LineStyle::None) {
        side.append_attribute("w:val") = "nil";
        // A cell's own border would still draw the line.
        for (pugi::xml_node tr : rowsOf(tbl))
            for (pugi::xml_node tc : cellsOf(tr))
                for (const char* name : names)
                    if (pugi::xml_node b = tc.child("w:tcPr").child("w:tcBorders").child(name))
                        b.parent().remove_child(b);
    } else {
        side.append_attribute("w:val") = "single";
        side.append_attribute("w:sz") = "4";
        side.append_attribute("w:space") = "0";
        side.append_attribute("w:color") = "auto";
    }
    doc_->body().changed();
}

// --- Table / Tables ------------------------------------------------------------------------------

Table::Table(std::shared_ptr<DocState> doc, const XmlNode* tbl) : doc_(std::move(doc)), tbl_(tbl) {}

word::Cell Table::Cell(long row, long column) const {
    requireTable(doc_, tbl_);
    const auto& rows = doc_->rowsCached(toNode(tbl_));
    pugi::xml_node tr = row >= 1 && row <= static_cast<long>(rows.size())
                            ? rows[static_cast<std::size_t>(row - 1)]
                            : pugi::xml_node();
    if (!tr)
        raise(tarvex::errc::subscriptOutOfRange,
              "Die Tabelle hat keine Zeile " + std::to_string(row) + ".");
    pugi::xml_node tc = nthCell(tr, column - 1);
    if (!tc)
        raise(tarvex::errc::subscriptOutOfRange, "Die Zeile " + std::to_string(row) +
                                                     " hat keine Zelle " + std::to_string(column) +
                                                     ".");
    return word::Cell(doc_, toRef(tc));
}

word::Range Table::Range() const {
    requireTable(doc_, tbl_);
    return word::Range(rangeOver(doc_, toNode(tbl_)));
}

word::Rows Table::Rows() const { return word::Rows(doc_, tbl_); }
word::Columns Table::Columns() const { return word::Columns(doc_, tbl_); }
word::Border Table::Borders(BorderIndex index) const { return word::Border(doc_, tbl_, index); }
void Table::Select() { selectRanges(doc_, {Range().state()}); }

void Table::Delete() {
    requireTable(doc_, tbl_);
    deleteTable(doc_->body(), toNode(tbl_));
}

bool Table::IsValid() const { return doc_->mainPart->contains(toNode(tbl_)); }

Tables::Tables(std::shared_ptr<DocState> doc, std::vector<const XmlNode*> tables)
    : doc_(std::move(doc)), tables_(std::move(tables)) {}

long Tables::Count() const { return static_cast<long>(tables_.size()); }

Table Tables::Item(long index) const {
    if (index < 1 || index > Count()) throw Error(tarvex::errc::subscriptOutOfRange);
    return Table(doc_, tables_[static_cast<std::size_t>(index - 1)]);
}

Table Tables::Add(const word::Range& at, long rows, long columns) {
    RangeState& st = *at.state();
    if (st.story != &doc_->body())
        raise(tarvex::errc::invalidCall,
              "Eine Tabelle kann nur in den Textkörper eingefügt werden.");
    return Table(doc_, toRef(insertTable(*st.story, st.start, rows, columns)));
}

}  // namespace tarvex::word
