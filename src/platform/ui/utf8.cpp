#include "platform/ui/utf8.h"

#include "platform/text/utf8.h"

namespace tarvex::ui::utf8 {

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
    if (cp < 0 || !text::isUnicodeScalar(static_cast<char32_t>(cp))) return "?";
    std::string out;
    text::appendUtf8(out, static_cast<char32_t>(cp));
    return out;
}

int next(const std::string& text, std::size_t& at) {
    // The form model counts a broken sequence, with the continuation bytes it had, as one
    // character.
    const text::Utf8Char c = text::decodeUtf8(text.data() + at, text.size() - at);
    at += c.extent;
    return static_cast<int>(c.ch);
}

}  // namespace tarvex::ui::utf8
