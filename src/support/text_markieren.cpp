#include "support/text_markieren.h"

#include "platform/ui/text_control.h"

namespace tarvex {

void TextMarkieren(ui::Control& Feld) noexcept {
    // A focus handler must never disturb the user: every failure is swallowed unreported.
    try {
        if (auto* field = dynamic_cast<ui::TextControl*>(&Feld)) {
            field->setSelStart(0);
            field->setSelLength(255);
        }
    } catch (...) {
    }
}

}  // namespace tarvex
