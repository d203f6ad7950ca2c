#pragma once
// The masked number field: a mask of digit positions ('#') and literals (anything else, e.g.
// the decimal comma of "####,##"), with a blank as prompt character. The text always has the
// mask's length: an empty "####" reads "    ", an empty "####,##" reads "    ,  ".

#include <string>

#include "platform/ui/text_control.h"

namespace tarvex::ui {

class MaskedField final : public TextControl {
  public:
    // Raises tarvex::Error (380) for an empty mask. The field starts empty (all prompts).
    MaskedField(Form& owner, std::string name, std::string mask, Rect rect);
    ControlKind kind() const override { return ControlKind::MaskedField; }

    const std::string& mask() const { return mask_; }
    static constexpr char kPrompt = ' ';

    // Accepts a text that fits the mask: each '#' position holds a digit or a blank, each
    // literal position its literal. A shorter text is padded with prompts and literals.
    // Raises tarvex::Error (380) for a too long text or a wrong character; the text is kept.
    void setText(const std::string& text) override;

    // Typing: a digit replaces the selection with prompts and goes into the first '#' position
    // at or after the caret; typing a literal that lies at or after the caret moves the caret
    // past it; Backspace blanks the selection or the digit before the caret. Anything else,
    // and a digit with no '#' position left, is refused and changes nothing.
    bool applyKey(int key) override;

    // The text with prompts and literals removed ("12" for "12  ,  "): what the user entered.
    std::string clipText() const;

  private:
    bool isDigitPosition(int pos) const { return mask_[static_cast<std::size_t>(pos)] == '#'; }
    std::string mask_;
};

}  // namespace tarvex::ui
