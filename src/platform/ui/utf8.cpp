#include "platform/ui/utf8.h"

namespace tarvex::ui::utf8 {

namespace {
bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

int length(const std::string& text) {
    int n = 0;
    for (std::size_t at = 0; at < text.size(); ++n) next(text, at);
    return n;
}

std::size_t offset(const std::string& text, int pos) {
    std::size_t at = 0;
    for (int i = 0; i < pos && at < text.size(); ++i) next(text, at);
    return at;
}

std::string substr(const std::string& text, int pos, int count) {
    const std::size_t from = offset(text, pos);
    std::size_t to = from;
    for (int i = 0; i < count && to < text.size(); ++i) next(text, to);
    return text.substr(from, to - from);
}

std::string encode(int cp) {
    std::string out;
    if (cp < 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return "?";
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

int next(const std::string& text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    int extra = 0;
    int cp = lead;
    if (lead >= 0xF8) {
        return 0xFFFD;
    } else if (lead >= 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else if (lead >= 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if (lead >= 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0x80) {
        return 0xFFFD;
    }
    for (int i = 0; i < extra; ++i) {
        if (at >= text.size() || !isContinuation(static_cast<unsigned char>(text[at])))
            return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return cp;
}

}  // namespace tarvex::ui::utf8
