#include "platform/ui/masked_field.h"

#include "platform/error/error.h"

namespace tarvex::ui {

namespace {
bool isDigit(int c) { return c >= '0' && c <= '9'; }
}  // namespace

MaskedField::MaskedField(Form& owner, std::string name, std::string mask, Rect rect)
    : TextControl(owner, std::move(name), rect), mask_(std::move(mask)) {
    // Positions are byte positions, so the mask must be plain ASCII.
    if (mask_.empty()) throw Error(errc::invalidPropertyValue);
    for (char c : mask_)
        if (static_cast<unsigned char>(c) >= 0x80) throw Error(errc::invalidPropertyValue);
    setMaxLength(static_cast<int>(mask_.size()));
    setText("");
}

void MaskedField::setText(const std::string& text) {
    if (text.size() > mask_.size()) throw Error(errc::invalidPropertyValue);
    std::string result = mask_;
    for (std::size_t i = 0; i < mask_.size(); ++i) {
        if (mask_[i] != '#') {
            if (i < text.size() && text[i] != mask_[i]) throw Error(errc::invalidPropertyValue);
            continue;  // the literal stays in place
        }
        if (i >= text.size()) {
            result[i] = kPrompt;
        } else if (isDigit(text[i]) || text[i] == kPrompt) {
            result[i] = text[i];
        } else {
            throw Error(errc::invalidPropertyValue);
        }
    }
    assign(std::move(result), 0, 0);
}

bool MaskedField::applyKey(int key) {
    const int len = static_cast<int>(mask_.size());
    std::string t = text();
    const int start = selStart();
    if (key == kKeyBackspace) {
        int caret = start;
        if (selLength() > 0) {
            for (int i = start; i < start + selLength(); ++i)
                if (isDigitPosition(i)) t[static_cast<std::size_t>(i)] = kPrompt;
        } else {
            int i = start - 1;
            while (i >= 0 && !isDigitPosition(i)) --i;
            if (i < 0) return false;
            t[static_cast<std::size_t>(i)] = kPrompt;
            caret = i;
        }
        const bool changed = t != text();
        assign(std::move(t), caret, 0);
        return changed;
    }
    if (isDigit(key)) {
        int pos = start;
        while (pos < len && !isDigitPosition(pos)) ++pos;
        if (pos >= len) return false;  // typing past the end: refused
        for (int i = start; i < start + selLength(); ++i)
            if (isDigitPosition(i)) t[static_cast<std::size_t>(i)] = kPrompt;
        t[static_cast<std::size_t>(pos)] = static_cast<char>(key);
        const bool changed = t != text();
        assign(std::move(t), pos + 1, 0);
        return changed;
    }
    // A literal typed ahead of its place jumps the caret past it (the comma of "####,##").
    if (key > 0 && key < 0x80 && key != '#') {
        const auto lit = mask_.find(static_cast<char>(key), static_cast<std::size_t>(start));
        if (lit != std::string::npos) assign(std::move(t), static_cast<int>(lit) + 1, 0);
    }
    return false;
}

std::string MaskedField::clipText() const {
    std::string out;
    for (std::size_t i = 0; i < mask_.size(); ++i)
        if (mask_[i] == '#' && text()[i] != kPrompt) out += text()[i];
    return out;
}

}  // namespace tarvex::ui
