#pragma once
// GO.Show: reads the order context from the host's TempDoc and opens the calculator window of
// the index. Never raises: every failing step is logged under "Rechnung"/"Show" and the next
// step runs; the window for index 0..4 opens in any case.

#include <cstdint>
#include <memory>

#include "platform/system/window_manager.h"
#include "platform/variant/variant.h"

namespace tarvex {

// Index: 0 Grenzfeststellung, 1 Gebäudeaufnahme, 2 Lang gestreckte Anlagen,
// 3 Baulandumlegung, 4 Zerlegung; other values open no window. Rechnung: the host's record
// set on the invoice being edited, or null.
void Show(std::int16_t Index, const std::shared_ptr<Object>& Rechnung,
          WindowHandle hWndMDI) noexcept;

}  // namespace tarvex
