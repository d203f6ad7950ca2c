// GO's late-bound interface: the member table in the order of the class's function table.

#include "plugin/go.h"

namespace tarvex {

namespace {

using Args = std::vector<Variant>;

// The object argument of Show: unset (Empty or Nothing) or an object.
std::shared_ptr<Object> objektArgument(const Variant& wert) {
    if (wert.isEmpty()) return nullptr;
    if (!wert.isObject()) throw Error(errc::typeMismatch);
    try {
        return wert.toObject();
    } catch (const Error&) {
        return nullptr;  // Nothing
    }
}

#define TARVEX_GO_PROPERTY(name)                                     \
    property(                                                        \
        #name, dispid::name, [](const GO& go) { return go.name(); }, \
        [](GO& go, const Variant& wert) { go.name(wert); })

const com::DispatchTable<GO>& tabelle() {
    static const com::DispatchTable<GO> table = [] {
        com::DispatchTable<GO> t;
        t.method("Show", dispid::Show, 3,
                 [](GO& go, const Args& a) {
                     // The arguments are converted as the typed interface would; a bad
                     // argument is refused before Show runs.
                     go.Show(a[0].toInteger(), objektArgument(a[1]), a[2].toLong());
                     return Variant();
                 })
            .method("Aktualisieren", dispid::Aktualisieren, 0,
                    [](GO& go, const Args&) {
                        go.Aktualisieren();
                        return Variant();
                    })
            .TARVEX_GO_PROPERTY(Flurstücksnummer)
            .TARVEX_GO_PROPERTY(Fläche)
            .TARVEX_GO_PROPERTY(Bodenwert)
            .TARVEX_GO_PROPERTY(Lage)
            .TARVEX_GO_PROPERTY(Baukosten)
            .TARVEX_GO_PROPERTY(Achslänge)
            .TARVEX_GO_PROPERTY(Grenzlänge)
            .TARVEX_GO_PROPERTY(Flurstücke)
            .TARVEX_GO_PROPERTY(AnzahlGrenzpunkte)
            .TARVEX_GO_PROPERTY(Doc)
            .TARVEX_GO_PROPERTY(ID_Benutzer)
            .TARVEX_GO_PROPERTY(NeueAbfrage)
            .TARVEX_GO_PROPERTY(DatenbankPfad)
            .TARVEX_GO_PROPERTY(LumWorkspace);
        return t;
    }();
    return table;
}

#undef TARVEX_GO_PROPERTY

}  // namespace

com::DispId GO::idOfName(const std::string& name) const { return tabelle().idOfName(name); }

Variant GO::invoke(com::DispId id, com::InvokeKind kind, const std::vector<Variant>& arguments) {
    return tabelle().invoke(*this, id, kind, arguments);
}

}  // namespace tarvex
