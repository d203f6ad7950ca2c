#pragma once
// Editing primitives on a story's XML: splitting runs and paragraphs at a position, inserting
// text, paragraphs and tables, deleting, and run/paragraph properties in schema order.
// Each primitive keeps every element it does not have to touch.

#include <string>
#include <vector>

#include "platform/word/doc_state.h"

namespace tarvex::word::detail {

// Where new inline content goes: before `before` inside `parent` (append when `before` is null),
// within paragraph `para`.
struct InsertPoint {
    pugi::xml_node para;
    pugi::xml_node parent;
    pugi::xml_node before;
};

// The point just before item `pos` (runs are split so that nothing moves).
InsertPoint resolveBefore(Story& story, long pos);
// Run properties new text at `pos` should carry: those of the character before it in the
// paragraph, else of the one after it, else the paragraph mark's.
pugi::xml_node runPropsAt(Story& story, long pos);
// Inserts text at `pos` ("\r\n", "\r", "\n" start paragraphs), shifting live ranges; the range
// `actor` keeps its start at `pos`. Returns the number of items inserted. 5 on control chars.
long insertText(Story& story, long pos, const std::string& text, pugi::xml_node rPr,
                const RangeState* actor);
// Splits the paragraph at the point; returns the new (second) paragraph.
pugi::xml_node splitParagraph(InsertPoint point);
// Deletes items [start, end) as the callers expect (cells stay, whole tables go).
void deleteItems(Story& story, long start, long end);
// Sets or clears a run toggle property ("w:b", "w:u") on every character in [start, end).
void setRunProperty(Story& story, long start, long end, const char* name, bool on);
bool allRunsHave(Story& story, long start, long end, const char* name);
// Paragraphs that the range [start, end) touches, in order.
std::vector<pugi::xml_node> paragraphsIn(Story& story, long start, long end);
void setAlignment(pugi::xml_node p, Alignment alignment);
Alignment alignmentOf(pugi::xml_node p);

// Child `name` of `parent`, created at its place in `order` when missing.
pugi::xml_node orderedChild(pugi::xml_node parent, const char* name,
                            const std::vector<const char*>& order);
pugi::xml_node ensurePPr(pugi::xml_node p);
pugi::xml_node ensureRPr(pugi::xml_node r);
// Copies paragraph properties without section break, paragraph ids and revision ids.
void copyParagraphProperties(pugi::xml_node from, pugi::xml_node to);
// True when a run is a toggle-on for `name` (w:b, w:u single).
bool runHas(pugi::xml_node run, const char* name);

// Inserts an empty table at `pos` (see Tables::Add); returns the w:tbl.
pugi::xml_node insertTable(Story& story, long pos, long rows, long columns);
// Removes a table with the comments anchored in it and mark halves whose partner was inside.
void deleteTable(Story& story, pugi::xml_node tbl);

// The paragraph an item belongs to (a cell or row end: the cell's last paragraph).
pugi::xml_node paragraphOf(const Atom& atom);
// Tables of a story that are not inside another table, in document order.
std::vector<pugi::xml_node> topLevelTables(pugi::xml_node root);
// Rebuilds a table's grid from its cells' widths: union of all cell edges, spans to match.
void recomputeGrid(pugi::xml_node tbl);
extern const std::vector<const char*> kTblPrOrder;
extern const std::vector<const char*> kTcPrOrder;

// Text width of the body's section in twips (page width minus margins).
long bodyTextWidthTwips(DocState& doc);

}  // namespace tarvex::word::detail
