#pragma once
// Selecting a field's whole text when it takes the focus, so that typing replaces it.

#include "platform/ui/control.h"

namespace tarvex {

// Sets the field's selection start to 0, then its selection length to 255 (clamped to the
// text, so at most the first 255 characters). A control without a selection is left alone.
// Never throws and never logs.
void TextMarkieren(ui::Control& Feld) noexcept;

}  // namespace tarvex
