#pragma once
// Hooks the calculator windows into Show's window slots (index 0 frmKat5 .. 4 frmKat1).

namespace tarvex {

// Registers a factory for every index 0..4; each slot then holds a KalkulatorSlot. Windows
// whose fee rules are not built yet open as the bare frame with caption and table tag.
void registriereKalkulatoren();

}  // namespace tarvex
