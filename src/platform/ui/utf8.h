#pragma once
// UTF-8 helpers of the form model: control text is UTF-8, positions count characters.

#include <string>

namespace tarvex::ui::utf8 {

// Number of characters; a stray continuation byte counts as one character.
int length(const std::string& text);
// Byte offset of character `pos` (clamped to the end).
std::size_t offset(const std::string& text, int pos);
// Characters [pos, pos+count) of the text.
std::string substr(const std::string& text, int pos, int count);
// The code point encoded as UTF-8; an invalid code point gives "?".
std::string encode(int codePoint);
// Decodes the character at byte offset `at` (< text.size()) and advances past it; a malformed
// sequence gives U+FFFD and is stepped over with the continuation bytes that followed its lead.
int next(const std::string& text, std::size_t& at);

}  // namespace tarvex::ui::utf8
