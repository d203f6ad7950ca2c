#pragma once
// The table selection dialog G_frmTabelle ("Tabellenwahl"): the user picks the fee table a
// calculator window is to edit — an existing one, the foreign table at the cursor, or none.
// One instance per plug-in lifetime; "&OK" only hides it, so the last choice is still set on
// the next use. The window's close button unloads it, and the next load selects optNeu.

#include "platform/ui/form.h"

namespace tarvex {

// What the dialog's options say after it was shown.
struct Tabellenwahl {
    enum class Art { Cursortabelle, Neu, Eintrag };
    Art art = Art::Neu;
    short eintrag = 0;  // 1..5 when art is Eintrag
};

// The dialog's single instance (created on first use, not loaded until it is touched).
ui::Form& G_frmTabelle();

// Reads the options in the order optAktTabelle, optNeu, optTabelle(0) .. optTabelle(3); when
// none is set, entry 5. Loads the dialog when it is not loaded (which selects optNeu).
// Errors of the form pass to the caller.
Tabellenwahl TabellenwahlLesen();

// Drops the instance without unloading it (tests: a new plug-in lifetime).
void resetTabellenwahl();

}  // namespace tarvex
