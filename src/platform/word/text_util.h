#pragma once
// UTF-8 helpers for the character model (one character = one code point).

#include <cstddef>
#include <string>

namespace tarvex::word::detail {

// Decodes one code point; a malformed sequence counts as one byte U+FFFD so scanning always
// makes progress.
char32_t decodeUtf8(const char* s, std::size_t available, std::size_t& size);
void appendUtf8(std::string& out, char32_t ch);
// Number of code points in a UTF-8 text.
std::size_t utf8Length(const std::string& s);

}  // namespace tarvex::word::detail
