#include "plugin/session/auftragskontext.h"

#include <string>

#include "plugin/session/datensatz_lesen.h"

namespace tarvex {

Auftragskontext& auftragskontext() {
    static Auftragskontext kontext;
    return kontext;
}

namespace {

// The field's value in the current record. The value is read here, inside the caller's step,
// so that a missing record fails that step and the context field keeps its value.
Variant wert(const std::shared_ptr<dao::Recordset>& rs, const char* spalte) {
    if (!rs) throw Error(errc::objectNotSet);
    return rs->field(spalte)->value();
}

// Tenths of a percent to whole percent: a floating-point division, then halves to even.
std::int16_t prozent(const Variant& zehntel) {
    return Variant(divide(zehntel.toDouble(), 10.0)).toInteger();
}

}  // namespace

void AuftragskontextLesen(ErrorTrap& trap, const std::shared_ptr<dao::Recordset>& rs) {
    Auftragskontext& k = auftragskontext();
    trap.step(110, [&] { k.Auftragsnummer = wert(rs, "ID_Auftragsnummer").toLong(); });
    trap.step(120,
              [&] { k.MesstruppZusammenfassen = wert(rs, "MeßtruppZusammenfassen").toBool(); });
    trap.step(130,
              [&] { k.Lieferschein = ZahlDatensatzLesen(wert(rs, "ID_Lieferschein")).toLong(); });
    trap.step(140, [&] {
        k.AbschlagAbsolut = ZahlDatensatzLesen(wert(rs, "AbschlagAbsolut")).toDouble();
    });
    trap.step(150, [&] {
        k.AbschlagProzent = ZahlDatensatzLesen(wert(rs, "AbschlagProzent")).toInteger();
    });
    trap.step(160, [&] { k.Zahlungsziel = BoolDatensatzLesen(wert(rs, "Zahlungsziel")).toBool(); });
    trap.step(170, [&] {
        k.Mehrwertsteuersatz = prozent(ZahlDatensatzLesen(wert(rs, "Mehrwertsteuersatz")));
    });
    trap.step(180,
              [&] { k.Preisgruppe1 = ZahlDatensatzLesen(wert(rs, "Preisgruppe1")).toInteger(); });
    trap.step(190,
              [&] { k.Preisgruppe2 = ZahlDatensatzLesen(wert(rs, "Preisgruppe2")).toInteger(); });
    trap.step(200,
              [&] { k.Preisgruppe3 = ZahlDatensatzLesen(wert(rs, "Preisgruppe3")).toInteger(); });
    trap.step(210,
              [&] { k.Preisgruppe4 = ZahlDatensatzLesen(wert(rs, "Preisgruppe4")).toInteger(); });
    trap.step(220, [&] { k.Mehrwertsteuer = prozent(wert(rs, "Mehrwertsteuer")); });
    trap.step(230, [&] { k.MwStErmaessigt = prozent(wert(rs, "MwStErmäßigt")); });
    trap.step(240, [&] { k.Rabatt = ZahlDatensatzLesen(wert(rs, "Rabatt")).toInteger(); });
}

}  // namespace tarvex
