#pragma once
// Flattening: the items of one block of a story (a paragraph, a table, a block wrapper), with
// the spans of its tables, rows and cells and a summary of its comment marks.

#include <optional>
#include <string>
#include <vector>

#include "platform/word/doc_state.h"

namespace tarvex::word::detail {

// True for the children of a story's root that make a block of their own.
bool flattens(pugi::xml_node c);
// Reads the block's items again. `store`: keeps them (the block is read by position soon, as
// the blocks an edit just changed are); otherwise only counts them, which is all a block
// needs until something reads inside it: a long document keeps only what is being read.
void flatten(Block& block, bool store);
// The items of one table cell, its end-of-cell mark last.
std::vector<Atom> cellItems(pugi::xml_node tc);
// The text of the paragraphs directly inside `container`, each ended by '\r', when they hold
// only plain runs (text, tabs, comment marks, bookmarks, properties); nullopt for anything
// richer or for a child that is no paragraph (but for `properties`, the container's own).
struct PlainParagraphs {
    std::string text;
    int count = 0;
};
std::optional<PlainParagraphs> plainParagraphs(pugi::xml_node container, const char* properties);
// The text of a whole cell as its items read (paragraphs ended by '\r', the last by "\r\a"),
// straight from the XML when the cell holds only paragraphs of plain runs (text, tabs, comment
// references, bookmarks); nullopt for anything richer, which is read from its items.
std::optional<std::string> plainCellText(pugi::xml_node tc);

}  // namespace tarvex::word::detail
