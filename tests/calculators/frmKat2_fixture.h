#pragma once
// The Baulandumlegung window in Show's slot 3 on a copy of the basic invoice template, and the
// worked example the tests start from: 3 source parcels, 60 formed parcels, 20 boundary
// points, 12 points to be marked, land value 250 €/m².

#include "calculators/frmKat2.h"
#include "kalkulator_fixture.h"

namespace tarvex::testing {

class BaulandumlegungTest : public KalkulatorTest {
  public:
    frmKat2& baulandumlegung(bool ersteTabelle = false) { return laden<frmKat2>(3, ersteTabelle); }
    static void beispielEingeben(ui::Form& f) {
        user::type(f, "mskAusFlur", "3");
        user::type(f, "mskGesamt", "60");
        user::type(f, "mskGP", "20");
        user::type(f, "mskAGP", "12");
        user::type(f, "mskBoden", "250");
    }
    std::optional<word::Table> gebührentabelle() { return tabelleMit("TARVEX_2"); }
};

}  // namespace tarvex::testing
