#include "platform/word/text_util.h"

namespace tarvex::word::detail {

char32_t decodeUtf8(const char* s, std::size_t available, std::size_t& size) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char b = byte(0);
    std::size_t need = b < 0x80         ? 1
                       : (b >> 5) == 6  ? 2
                       : (b >> 4) == 14 ? 3
                       : (b >> 3) == 30 ? 4
                                        : 0;
    if (need == 0 || need > available) {
        size = 1;
        return b < 0x80 ? b : 0xFFFD;
    }
    char32_t ch = need == 1 ? b : need == 2 ? (b & 0x1F) : need == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t i = 1; i < need; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            size = 1;
            return 0xFFFD;
        }
        ch = (ch << 6) | (byte(i) & 0x3F);
    }
    size = need;
    return ch;
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

std::size_t utf8Length(const std::string& s) {
    std::size_t count = 0, pos = 0;
    while (pos < s.size()) {
        std::size_t size = 0;
        decodeUtf8(s.data() + pos, s.size() - pos, size);
        pos += size;
        ++count;
    }
    return count;
}

}  // namespace tarvex::word::detail
