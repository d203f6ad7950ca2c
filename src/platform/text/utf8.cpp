#include "platform/text/utf8.h"

namespace tarvex::text {

namespace {

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length a lead byte announces; 0 for bytes that cannot start a character.
std::size_t announcedLength(unsigned char b) {
    if (b < 0x80) return 1;
    if ((b >> 5) == 0x06) return 2;
    if ((b >> 4) == 0x0E) return 3;
    if ((b >> 3) == 0x1E) return 4;
    return 0;
}

}  // namespace

Utf8Char decodeUtf8(const char* s, std::size_t available) {
    if (available == 0) return {kReplacementChar, 1, 1};
    const auto lead = static_cast<unsigned char>(s[0]);
    const std::size_t need = announcedLength(lead);
    if (need == 0) return {kReplacementChar, 1, 1};
    if (need == 1) return {lead, 1, 1};
    char32_t ch = lead & (0xFFu >> (need + 1));
    for (std::size_t i = 1; i < need; ++i) {
        if (i >= available || !isContinuation(static_cast<unsigned char>(s[i])))
            return {kReplacementChar, 1, i};
        ch = (ch << 6) | (static_cast<unsigned char>(s[i]) & 0x3Fu);
    }
    return {ch, need, need};
}

void appendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

}  // namespace tarvex::text
