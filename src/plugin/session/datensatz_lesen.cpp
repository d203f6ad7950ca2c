#include "plugin/session/datensatz_lesen.h"

#include "support/error_trap.h"

namespace tarvex {

Variant ZahlDatensatzLesen(Variant Wert) {
    ErrorTrap trap("Funktionen", "ZahlDatensatzLesen");
    Variant ergebnis;
    trap.step(10, [&] {
        const Variant wert = Wert.resolved();
        // Only text can equal "": a number compared with "" is simply unequal.
        if (wert.isNull() || (wert.isString() && wert.toString().empty()))
            ergebnis = Variant(std::int16_t{0});
        else
            ergebnis = wert;
    });
    return ergebnis;
}

Variant BoolDatensatzLesen(Variant Wert) {
    ErrorTrap trap("Funktionen", "BoolDatensatzLesen");
    Variant ergebnis;
    trap.step(10, [&] {
        const Variant wert = Wert.resolved();
        ergebnis = wert.isNull() ? Variant(std::int16_t{0}) : wert;
    });
    return ergebnis;
}

}  // namespace tarvex
