#pragma once
// Caseless comparison of member and field names as hosts expect it: ASCII letters and the
// Latin-1 letters with accents and umlauts ("Ä" and "ä") compare equal; "ß" stays itself.
// Header-only so that the database layer can compare field names the same way.

#include <string>
#include <string_view>

namespace tarvex::com {

// Lower-case form of a UTF-8 name for comparison. Bytes that are not valid UTF-8 are kept.
inline std::string foldName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 'A' && c <= 'Z') {
            out.push_back(static_cast<char>(c + 32));
        } else if (c == 0xC3 && i + 1 < name.size()) {
            // U+00C0..U+00DE except U+00D7 are capitals whose small letter lies 0x20 above.
            auto next = static_cast<unsigned char>(name[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                next = static_cast<unsigned char>(next + 0x20);
            out.push_back(static_cast<char>(c));
            out.push_back(static_cast<char>(next));
            ++i;
        } else if (c == 0xE1 && name.substr(i, 3) == "\xE1\xBA\x9E") {
            out += "\xC3\x9F";  // capital sharp s folds to "ß"
            i += 2;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

inline bool sameName(std::string_view a, std::string_view b) {
    return a == b || foldName(a) == foldName(b);
}

}  // namespace tarvex::com
