#pragma once
// Controls that hold editable text with a selection: text boxes, combo boxes and (in
// masked_field.h) masked fields. Text is UTF-8; positions and lengths count characters.

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace tarvex::ui {

// Key codes a user action may deliver besides printable characters.
inline constexpr int kKeyBackspace = 8;

class TextControl : public Control {
  public:
    const std::string& text() const { return text_; }
    // Replaces the text and puts the caret at 0 with nothing selected. Raises tarvex::Error
    // (380) when the control does not accept the text; the old text is then kept.
    virtual void setText(const std::string& text);

    // Length of the text in characters.
    int length() const;
    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    // Caret position, clamped to the end of the text; a negative value raises Error 380.
    void setSelStart(int start);
    // Selection length from selStart, clamped to the rest of the text; negative raises 380.
    void setSelLength(int length);
    // The selected characters.
    std::string selText() const;

    // Most characters the user may type in; 0 means no limit.
    int maxLength() const { return maxLength_; }
    // Raises tarvex::Error (380) for a negative length.
    void setMaxLength(int length);

    // Applies one typed key as the real control would (after the KeyPress procedure had its
    // say). Returns true when the text changed. Never raises: a refused key changes nothing.
    virtual bool applyKey(int key);

  protected:
    TextControl(Form& owner, std::string name, Rect rect) : Control(owner, std::move(name), rect) {}
    // Stores text and selection without any check (for subclasses that validated already).
    void assign(std::string text, int selStart, int selLength);

  private:
    std::string text_;
    int selStart_ = 0;
    int selLength_ = 0;
    int maxLength_ = 0;
};

// Key codes that end a line in a multi-line text box: Enter (13) and Ctrl+Enter (10).
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyLineFeed = 10;
// What ends a line in the text of a multi-line text box, as the platform's text box holds it.
inline constexpr const char* kZeilenende = "\r\n";

class TextBox final : public TextControl {
  public:
    TextBox(Form& owner, std::string name, Rect rect) : TextControl(owner, std::move(name), rect) {}
    ControlKind kind() const override { return ControlKind::TextBox; }

    // A multi-line box takes Enter as a line end ("\r\n" in its text, two characters against
    // the maximum length); Backspace right after a line end removes both characters. A
    // single-line box refuses Enter like any other control key. Design property.
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool on) { multiLine_ = on; }
    bool applyKey(int key) override;

  private:
    bool multiLine_ = false;
};

// An editable combo box: a list of entries, the index of the chosen entry (-1: none) and the
// text in its edit part.
class ComboBox final : public TextControl {
  public:
    ComboBox(Form& owner, std::string name, std::vector<std::string> entries, Rect rect)
        : TextControl(owner, std::move(name), rect), entries_(std::move(entries)) {}
    ControlKind kind() const override { return ControlKind::ComboBox; }

    const std::vector<std::string>& entries() const { return entries_; }
    void addEntry(std::string entry) { entries_.push_back(std::move(entry)); }
    // Removes all entries; the list index becomes -1, the text stays.
    void clearEntries();

    int listIndex() const { return listIndex_; }
    // Chooses entry `index` and shows its text; -1 clears the choice and the text. Raises
    // tarvex::Error (380) when the index is outside -1..entries-1.
    void setListIndex(int index);
    // Sets the edit text; the list index becomes the first entry equal to it, else -1.
    void setText(const std::string& text) override;
    bool applyKey(int key) override;

  private:
    std::vector<std::string> entries_;
    int listIndex_ = -1;
};

}  // namespace tarvex::ui
