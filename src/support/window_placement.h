#pragma once
// Stored placement of free-standing windows: state and position per window in the per-user
// settings under application "Lumora", section = the window's name, keys "State", "Top" and
// "Left" (German number text, Top/Left in twips as single-precision values).

#include "platform/settings/settings_store.h"
#include "platform/ui/form.h"

namespace tarvex {

// Restores the window's state (default 0) and, when that leaves it normal, its top and left
// edges (default 0). A value that is no number, or a failing store, is logged under
// "G_Funktionen"/"GetWindowReg" and that step is skipped. Call while the form is loaded.
void GetWindowReg(ui::Form& Fenster, SettingsStore& store);

// Stores the window's state, and its top and left edges only when it is normal; otherwise the
// earlier position stays stored. Failures are logged under "G_Funktionen"/"SetWindowReg".
void SetWindowReg(ui::Form& Fenster, SettingsStore& store);

}  // namespace tarvex
