#pragma once
// The module-wide values behind every GO object: what the host set through GO's properties,
// and what Show keeps for the calculator windows and the document procedures. One instance
// per loaded plug-in; all GO objects share it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/dao/dao.h"
#include "platform/word/word.h"
#include "platform/system/window_manager.h"
#include "platform/variant/variant.h"

namespace tarvex {

struct Sitzungsdaten {
    // Job values: a pure store the host may set and read back.
    std::string Flurstücksnummer;
    double Fläche = 0.0;
    double Bodenwert = 0.0;
    std::string Lage;
    double Baukosten = 0.0;
    std::int16_t Achslänge = 0;
    std::int32_t Grenzlänge = 0;
    std::int16_t Flurstücke = 0;
    std::int16_t AnzahlGrenzpunkte = 0;

    // The invoice document and its application (selection, unit conversion).
    std::shared_ptr<word::Document> Doc;
    std::optional<word::Application> WordAnwendung;

    std::int32_t ID_Benutzer = 0;
    std::shared_ptr<dao::Database> NeueAbfrage;
    std::string DatenbankPfad;
    std::shared_ptr<dao::Workspace> LumWorkspace;

    // Kept by Show: the invoice record being edited (may be unset) and the host's MDI client.
    std::shared_ptr<dao::Recordset> Rechnung;
    WindowHandle hWndMDI = 0;

    // Back to the start values: empty strings, 0, unset objects.
    void reset() { *this = Sitzungsdaten{}; }
};

// The one instance.
Sitzungsdaten& sitzungsdaten();

}  // namespace tarvex
