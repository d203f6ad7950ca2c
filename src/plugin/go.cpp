#include "plugin/go.h"

#include <atomic>

#include "plugin/session/sitzungsdaten.h"
#include "plugin/show.h"

namespace tarvex {

namespace {

std::atomic<int> lebendeObjekte{0};

// Text of a value; unlike a plain conversion a Null is refused, as the host's string Let does.
std::string alsText(const Variant& wert) {
    const Variant v = wert.resolved();
    if (v.isNull()) throw Error(errc::invalidUseOfNull);
    return v.toString();
}

}  // namespace

GO::GO() { ++lebendeObjekte; }
GO::~GO() { --lebendeObjekte; }
int GO::liveObjects() { return lebendeObjekte; }

void GO::Show(std::int16_t Index, const std::shared_ptr<Object>& Rechnung, WindowHandle hWndMDI) {
    tarvex::Show(Index, Rechnung, hWndMDI);
}

// Each Let converts first and assigns only when the conversion succeeded.
Variant GO::Flurstücksnummer() const { return sitzungsdaten().Flurstücksnummer; }
void GO::Flurstücksnummer(const Variant& wert) { sitzungsdaten().Flurstücksnummer = alsText(wert); }
Variant GO::Fläche() const { return sitzungsdaten().Fläche; }
void GO::Fläche(const Variant& wert) { sitzungsdaten().Fläche = wert.toDouble(); }
Variant GO::Bodenwert() const { return sitzungsdaten().Bodenwert; }
void GO::Bodenwert(const Variant& wert) { sitzungsdaten().Bodenwert = wert.toDouble(); }
Variant GO::Lage() const { return sitzungsdaten().Lage; }
void GO::Lage(const Variant& wert) { sitzungsdaten().Lage = alsText(wert); }
Variant GO::Baukosten() const { return sitzungsdaten().Baukosten; }
void GO::Baukosten(const Variant& wert) { sitzungsdaten().Baukosten = wert.toDouble(); }
Variant GO::Achslänge() const { return sitzungsdaten().Achslänge; }
void GO::Achslänge(const Variant& wert) { sitzungsdaten().Achslänge = wert.toInteger(); }
Variant GO::Grenzlänge() const { return sitzungsdaten().Grenzlänge; }
void GO::Grenzlänge(const Variant& wert) { sitzungsdaten().Grenzlänge = wert.toLong(); }
Variant GO::Flurstücke() const { return sitzungsdaten().Flurstücke; }
void GO::Flurstücke(const Variant& wert) { sitzungsdaten().Flurstücke = wert.toInteger(); }
Variant GO::AnzahlGrenzpunkte() const { return sitzungsdaten().AnzahlGrenzpunkte; }
void GO::AnzahlGrenzpunkte(const Variant& wert) {
    sitzungsdaten().AnzahlGrenzpunkte = wert.toInteger();
}
Variant GO::ID_Benutzer() const { return sitzungsdaten().ID_Benutzer; }
void GO::ID_Benutzer(const Variant& wert) { sitzungsdaten().ID_Benutzer = wert.toLong(); }
Variant GO::DatenbankPfad() const { return sitzungsdaten().DatenbankPfad; }
void GO::DatenbankPfad(const Variant& wert) { sitzungsdaten().DatenbankPfad = alsText(wert); }

Variant GO::Doc() const { return sitzungsdaten().Doc; }
void GO::Doc(const Variant& wert) {
    auto dokument = wert.objectAs<word::Document>();
    auto anwendung = dokument->Application();
    sitzungsdaten().Doc = std::move(dokument);
    sitzungsdaten().WordAnwendung = std::move(anwendung);
}

Variant GO::NeueAbfrage() const { return sitzungsdaten().NeueAbfrage; }
void GO::NeueAbfrage(const Variant& wert) {
    sitzungsdaten().NeueAbfrage = wert.objectAs<dao::Database>();
}

Variant GO::LumWorkspace() const { return sitzungsdaten().LumWorkspace; }
void GO::LumWorkspace(const Variant& wert) {
    sitzungsdaten().LumWorkspace = wert.objectAs<dao::Workspace>();
}

std::vector<com::EventDescription> GO::events() const {
    return {{"DatenAktualisieren", dispid::DatenAktualisieren}};
}

}  // namespace tarvex
