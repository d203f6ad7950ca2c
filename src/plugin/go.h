#pragma once
// GO, the plug-in's one public class. It has no state of its own: every property lives in
// Sitzungsdaten, shared by all GO objects. Callable early-bound (these members) and late-bound
// (com::Dispatch with the dispatch identifiers below).
//
// Property Lets have no error trap: a value that cannot be converted raises its error to the
// host (6 overflow, 13 type mismatch, 94 Null, 91 unset object) and the stored value stays.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com/dispatch.h"
#include "platform/system/window_manager.h"

namespace tarvex {

namespace dispid {
inline constexpr com::DispId Show = 0x6003000E;
inline constexpr com::DispId Aktualisieren = 0x6003000F;
inline constexpr com::DispId Flurstücksnummer = 0x6803000D;
inline constexpr com::DispId Fläche = 0x6803000C;
inline constexpr com::DispId Bodenwert = 0x6803000B;
inline constexpr com::DispId Lage = 0x6803000A;
inline constexpr com::DispId Baukosten = 0x68030009;
inline constexpr com::DispId Achslänge = 0x68030008;
inline constexpr com::DispId Grenzlänge = 0x68030007;
inline constexpr com::DispId Flurstücke = 0x68030006;
inline constexpr com::DispId AnzahlGrenzpunkte = 0x68030005;
inline constexpr com::DispId Doc = 0x68030004;
inline constexpr com::DispId ID_Benutzer = 0x68030003;
inline constexpr com::DispId NeueAbfrage = 0x68030002;
inline constexpr com::DispId DatenbankPfad = 0x68030001;
inline constexpr com::DispId LumWorkspace = 0x68030000;
// The outgoing event; declared for hosts that connect to it, never raised.
inline constexpr com::DispId DatenAktualisieren = 1;
}  // namespace dispid

class GO final : public com::Dispatch {
  public:
    GO();
    ~GO() override;
    GO(const GO&) = delete;
    GO& operator=(const GO&) = delete;

    std::string typeName() const override { return "GO"; }

    // See plugin/show.h.
    void Show(std::int16_t Index, const std::shared_ptr<Object>& Rechnung, WindowHandle hWndMDI);
    // Accepted and ignored.
    void Aktualisieren() {}

    // Get returns the stored value; Let converts (string, double, 16/32-bit halves to even).
    Variant Flurstücksnummer() const;
    void Flurstücksnummer(const Variant& wert);
    Variant Fläche() const;
    void Fläche(const Variant& wert);
    Variant Bodenwert() const;
    void Bodenwert(const Variant& wert);
    Variant Lage() const;
    void Lage(const Variant& wert);
    Variant Baukosten() const;
    void Baukosten(const Variant& wert);
    Variant Achslänge() const;
    void Achslänge(const Variant& wert);
    Variant Grenzlänge() const;
    void Grenzlänge(const Variant& wert);
    Variant Flurstücke() const;
    void Flurstücke(const Variant& wert);
    Variant AnzahlGrenzpunkte() const;
    void AnzahlGrenzpunkte(const Variant& wert);
    // Let: an open word::Document (13 otherwise); also keeps its Application.
    Variant Doc() const;
    void Doc(const Variant& wert);
    Variant ID_Benutzer() const;
    void ID_Benutzer(const Variant& wert);
    // Let: a dao::Database (13 otherwise).
    Variant NeueAbfrage() const;
    void NeueAbfrage(const Variant& wert);
    Variant DatenbankPfad() const;
    void DatenbankPfad(const Variant& wert);
    // Let: a dao::Workspace (13 otherwise).
    Variant LumWorkspace() const;
    void LumWorkspace(const Variant& wert);

    // Late binding.
    com::DispId idOfName(const std::string& name) const override;
    Variant invoke(com::DispId id, com::InvokeKind kind,
                   const std::vector<Variant>& arguments) override;
    std::vector<com::EventDescription> events() const override;
    // Keeps a host's event sink for DatenAktualisieren.
    void connectEvents(std::shared_ptr<Object> sink) { sinks_.push_back(std::move(sink)); }

    // Number of GO objects alive in this process.
    static int liveObjects();

  private:
    std::vector<std::shared_ptr<Object>> sinks_;
};

}  // namespace tarvex
