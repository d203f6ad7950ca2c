#pragma once
// frmKat1 opened as Show opens it, on a copy of the basic invoice template.

#include "calculators/frmKat1.h"
#include "kalkulator_fixture.h"

namespace tarvex::testing {

class ZerlegungTest : public KalkulatorTest {
  public:
    frmKat1& zerlegung(bool ersteTabelle = false) { return laden<frmKat1>(4, ersteTabelle); }
    std::optional<word::Table> zerlegungstabelle() { return tabelleMit("TARVEX_1"); }
};

}  // namespace tarvex::testing
