#include "platform/ui/text_control.h"

#include <algorithm>

#include "platform/error/error.h"
#include "platform/ui/utf8.h"

namespace tarvex::ui {

void TextControl::setText(const std::string& text) { assign(text, 0, 0); }

void TextControl::assign(std::string text, int selStart, int selLength) {
    text_ = std::move(text);
    const int len = length();
    selStart_ = std::clamp(selStart, 0, len);
    selLength_ = std::clamp(selLength, 0, len - selStart_);
}

int TextControl::length() const { return utf8::length(text_); }

void TextControl::setSelStart(int start) {
    if (start < 0) throw Error(errc::invalidPropertyValue);
    // Moving the caret collapses the selection, as on the platform.
    selStart_ = std::min(start, length());
    selLength_ = 0;
}

void TextControl::setSelLength(int len) {
    if (len < 0) throw Error(errc::invalidPropertyValue);
    selLength_ = std::min(len, length() - selStart_);
}

std::string TextControl::selText() const { return utf8::substr(text_, selStart_, selLength_); }

void TextControl::setMaxLength(int len) {
    if (len < 0) throw Error(errc::invalidPropertyValue);
    maxLength_ = len;
}

bool TextControl::applyKey(int key) {
    const int len = length();
    const std::string before = utf8::substr(text_, 0, selStart_);
    const std::string after = utf8::substr(text_, selStart_ + selLength_, len);
    if (key == kKeyBackspace) {
        if (selLength_ > 0) {
            assign(before + after, selStart_, 0);
            return true;
        }
        if (selStart_ == 0) return false;
        const int caret = selStart_ - 1;
        assign(utf8::substr(text_, 0, caret) + after, caret, 0);
        return true;
    }
    if (key < 32 || key == 127) return false;  // other control keys do not edit
    if (maxLength_ > 0 && len - selLength_ + 1 > maxLength_) return false;
    const int caret = selStart_ + 1;
    assign(before + utf8::encode(key) + after, caret, 0);
    return true;
}

bool TextBox::applyKey(int key) {
    if (!multiLine_) return TextControl::applyKey(key);
    const int len = length();
    const std::string before = utf8::substr(text(), 0, selStart());
    const std::string after = utf8::substr(text(), selStart() + selLength(), len);
    if (key == kKeyEnter || key == kKeyLineFeed) {
        if (maxLength() > 0 && len - selLength() + 2 > maxLength()) return false;
        assign(before + kZeilenende + after, selStart() + 2, 0);
        return true;
    }
    // A line end is one step for the user: Backspace at the start of a line joins the lines.
    if (key == kKeyBackspace && selLength() == 0 && before.size() >= 2 &&
        before.compare(before.size() - 2, 2, kZeilenende) == 0) {
        assign(before.substr(0, before.size() - 2) + after, selStart() - 2, 0);
        return true;
    }
    return TextControl::applyKey(key);
}

void ComboBox::clearEntries() {
    entries_.clear();
    listIndex_ = -1;
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(entries_.size()))
        throw Error(errc::invalidPropertyValue);
    listIndex_ = index;
    TextControl::setText(index < 0 ? std::string() : entries_[static_cast<std::size_t>(index)]);
}

void ComboBox::setText(const std::string& text) {
    TextControl::setText(text);
    const auto it = std::find(entries_.begin(), entries_.end(), text);
    listIndex_ = it == entries_.end() ? -1 : static_cast<int>(it - entries_.begin());
}

bool ComboBox::applyKey(int key) {
    if (!TextControl::applyKey(key)) return false;
    // Typing into the edit part chooses the entry it now spells, if any.
    const auto it = std::find(entries_.begin(), entries_.end(), text());
    listIndex_ = it == entries_.end() ? -1 : static_cast<int>(it - entries_.begin());
    return true;
}

}  // namespace tarvex::ui
