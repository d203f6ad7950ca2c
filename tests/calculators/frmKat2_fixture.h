#pragma once
// The Baulandumlegung window in Show's slot 3 on a copy of the basic invoice template, and the
// worked example the tests start from: 3 source parcels, 60 formed parcels, 20 boundary
// points, 12 points to be marked, land value 250 €/m².

#include <tuple>
#include <vector>

#include "calculators/frmKat2.h"
#include "kalkulator_fixture.h"

namespace tarvex::testing {

class BaulandumlegungTest : public KalkulatorTest {
  public:
    // frmKat2 loaded afresh as Show opens it; `ersteTabelle`: the user picks the first existing
    // table in the selection dialog.
    frmKat2& baulandumlegung(bool ersteTabelle = false) {
        if (ersteTabelle)
            driver->push("G_frmTabelle", [](ui::Form& dialog) {
                user::click(dialog, "optTabelle(0)");
                user::click(dialog, "cmdEnde");
            });
        auto& slot = dynamic_cast<KalkulatorSlot&>(windowSlot(3));
        slot.loadAndShow();
        return dynamic_cast<frmKat2&>(slot.fenster());
    }
    static void beispielEingeben(ui::Form& f) {
        user::type(f, "mskAusFlur", "3");
        user::type(f, "mskGesamt", "60");
        user::type(f, "mskGP", "20");
        user::type(f, "mskAGP", "12");
        user::type(f, "mskBoden", "250");
    }
    std::optional<word::Table> gebührentabelle() { return tabelleMit("TARVEX_2"); }

    // Every cell of a table as row, column, text and comments; blanks are left out of the
    // text, as a count may come back right-aligned in its field.
    using Zelleninhalt = std::tuple<long, long, std::string, std::string>;
    static std::vector<Zelleninhalt> inhalt(const word::Table& t) {
        std::vector<Zelleninhalt> zellen;
        for (long z = 1; z <= t.Rows().Count(); ++z)
            for (long s = 1; s <= 5; ++s) {
                std::string text = ZelleEinlesen(t, static_cast<short>(z), static_cast<short>(s));
                std::erase(text, ' ');
                zellen.emplace_back(z, s, text, joinedComments(t.Cell(z, s).Range()));
            }
        return zellen;
    }
};

}  // namespace tarvex::testing
