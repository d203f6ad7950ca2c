#pragma once
// The Lang gestreckte Anlagen window in Show's slot 2 on a copy of the basic invoice template,
// and the worked example the tests start from.

#include "calculators/faktoren.h"
#include "calculators/frmKat3.h"
#include "calculators/zahlen.h"
#include "kalkulator_fixture.h"
#include "support/number_text.h"

namespace tarvex::testing {

class AnlagenTest : public KalkulatorTest {
  public:
    frmKat3& anlagen(bool ersteTabelle = false) { return laden<frmKat3>(2, ersteTabelle); }
    std::optional<word::Table> anlagentabelle() { return tabelleMit("TARVEX_3"); }

    // 2 starting parcels, `gebildet` formed parcels, 10 new boundary points, 8 marked points.
    static void beispiel(ui::Form& f, const char* gebildet = "120") {
        user::type(f, "mskAusFlur", "2");
        user::type(f, "mskFlurstücke", gebildet);
        user::type(f, "mskGP", "10");
        user::type(f, "mskAGP", "8");
    }
};

}  // namespace tarvex::testing
