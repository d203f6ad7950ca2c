#pragma once
// frmKat1 opened as Show opens it, on a copy of the basic invoice template.

#include <string>

#include "calculators/frmKat1.h"
#include "kalkulator_fixture.h"

namespace tarvex::testing {

class ZerlegungTest : public KalkulatorTest {
  public:
    frmKat1& zerlegung(bool ersteTabelle = false) { return laden<frmKat1>(4, ersteTabelle); }
    std::optional<word::Table> zerlegungstabelle() { return tabelleMit("TARVEX_1"); }

    // Every cell of the table as "row,column: text [comment]", one per non-empty cell, and
    // "row: -" for an empty row.
    static std::vector<std::string> zellen(const word::Table& t) {
        std::vector<std::string> alle;
        const long zeilen = t.Rows().Count();
        for (long z = 1; z <= zeilen; ++z) {
            bool leer = true;
            for (short s = 1; s <= 5; ++s) {
                const auto zeile = static_cast<short>(z);
                const std::string text = ZelleEinlesen(t, zeile, s);
                const std::string marke = joinedComments(t.Cell(zeile, s).Range());
                if (text.empty() && marke.empty()) continue;
                leer = false;
                alle.push_back(std::to_string(z) + "," + std::to_string(s) + ": " + text +
                               (marke.empty() ? "" : " [" + marke + "]"));
            }
            if (leer) alle.push_back(std::to_string(z) + ": -");
        }
        return alle;
    }
};

}  // namespace tarvex::testing
