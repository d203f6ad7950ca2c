#pragma once
// UTF-8 decoding and encoding shared by the form model, the document engine and the log.
// Decoding is lenient about what a well-formed sequence encodes (overlong forms, surrogates and
// values up to 0x1FFFFF pass), so text that reached us round-trips byte for byte; it reports how
// far a malformed sequence reaches, and each caller keeps its own way of stepping over one.

#include <cstddef>
#include <string>

namespace tarvex::text {

inline constexpr char32_t kReplacementChar = 0xFFFD;

struct Utf8Char {
    char32_t ch;         // U+FFFD for a malformed sequence
    std::size_t size;    // bytes of the sequence; 1 when it is malformed
    std::size_t extent;  // as `size`, but a malformed sequence covers its lead byte and the
                         // continuation bytes that followed it before it broke off
};

// Decodes the character at the start of `s`, reading at most `available` bytes. A stray
// continuation byte, a lead byte 0xF8..0xFF and a sequence cut short are malformed. With
// `available` 0 nothing is read and a malformed character of size 1 comes back.
Utf8Char decodeUtf8(const char* s, std::size_t available);

// Appends `ch` in one to four bytes without checking it: callers that must refuse surrogates
// or values beyond U+10FFFF check with isUnicodeScalar first.
void appendUtf8(std::string& out, char32_t ch);

// True for U+0000..U+10FFFF outside the surrogates.
constexpr bool isUnicodeScalar(char32_t ch) {
    return ch <= 0x10FFFF && !(ch >= 0xD800 && ch <= 0xDFFF);
}

}  // namespace tarvex::text
