#include "plugin/show.h"

#include <string>

#include "plugin/session/auftragskontext.h"
#include "plugin/session/sitzungsdaten.h"
#include "plugin/session/window_slots.h"
#include "support/error_trap.h"

namespace tarvex {

void Show(std::int16_t Index, const std::shared_ptr<Object>& Rechnung,
          WindowHandle hWndMDI) noexcept {
    Sitzungsdaten& s = sitzungsdaten();
    s.hWndMDI = hWndMDI;
    ErrorTrap trap("Rechnung", "Show");

    std::shared_ptr<dao::Database> datenbank;
    std::shared_ptr<dao::Recordset> tempDoc;
    trap.step(30, [&] {
        if (!s.LumWorkspace) throw Error(errc::objectNotSet);
        datenbank = s.LumWorkspace->openDatabase(s.DatenbankPfad);
    });
    trap.step(40, [&] {
        if (!datenbank) throw Error(errc::objectNotSet);
        // The user number is a 32-bit integer written in decimal: nothing else enters the text.
        tempDoc = datenbank->openRecordset("SELECT * FROM TempDoc WHERE ID_Benutzer = " +
                                           std::to_string(s.ID_Benutzer));
    });
    AuftragskontextLesen(trap, tempDoc);
    trap.step(60, [&] {
        // An argument that is no record set must not leave the previous invoice's record in
        // place, or the totals would store this invoice's amounts in the other one.
        s.Rechnung.reset();
        if (Rechnung) {
            auto rechnung = std::dynamic_pointer_cast<dao::Recordset>(Rechnung);
            if (!rechnung) throw Error(errc::typeMismatch);
            s.Rechnung = std::move(rechnung);
        }
    });
    if (Index >= 0 && Index <= 4) {
        trap.step(70, [&] {
            WindowSlot& fenster = windowSlot(Index);
            if (fenster.isLoaded())
                fenster.activate();
            else
                fenster.loadAndShow();
        });
    }
    // The record set and the database object are released here, never closed: they belong
    // to the host's database engine.
}

}  // namespace tarvex
