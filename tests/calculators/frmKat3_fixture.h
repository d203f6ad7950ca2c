#pragma once
// frmKat3 opened as Show opens it, on the calculator fixture's invoice, and the fee table it
// wrote, cell by cell.

#include <string>
#include <vector>

#include "calculators/faktoren.h"
#include "calculators/frmKat3.h"
#include "calculators/zahlen.h"
#include "kalkulator_fixture.h"
#include "support/number_text.h"

namespace tarvex::testing {

class AnlagenTest : public KalkulatorTest {
  public:
    // frmKat3 loaded afresh; `ersteTabelle`: the user picks the first existing table in the
    // selection dialog.
    frmKat3& anlagen(bool ersteTabelle = false) {
        if (ersteTabelle)
            driver->push("G_frmTabelle", [](ui::Form& dialog) {
                user::click(dialog, "optTabelle(0)");
                user::click(dialog, "cmdEnde");
            });
        auto& slot = dynamic_cast<KalkulatorSlot&>(windowSlot(2));
        slot.loadAndShow();
        return dynamic_cast<frmKat3&>(slot.fenster());
    }
    std::optional<word::Table> anlagentabelle() { return tabelleMit("TARVEX_3"); }

    // 2 starting parcels, `gebildet` formed parcels, 10 new boundary points, 8 marked points.
    static void beispiel(ui::Form& f, const char* gebildet = "120") {
        user::type(f, "mskAusFlur", "2");
        user::type(f, "mskFlurstücke", gebildet);
        user::type(f, "mskGP", "10");
        user::type(f, "mskAGP", "8");
    }

    // Every cell of the table as "text[comment]|", one row a line; runs of blanks
    // within a cell count as one and the blanks at its ends as none.
    static std::string inhalt(const word::Table& t) {
        std::string alles;
        for (long z = 1; z <= t.Rows().Count(); ++z) {
            for (short s = 1; s <= 5; ++s) {
                std::string zelle;
                for (char c : ZelleEinlesen(t, static_cast<short>(z), s))
                    if (c != ' ' || (!zelle.empty() && zelle.back() != ' ')) zelle += c;
                if (!zelle.empty() && zelle.back() == ' ') zelle.pop_back();
                const std::string kommentar =
                    joinedComments(t.Cell(static_cast<short>(z), s).Range());
                alles += zelle + (kommentar.empty() ? "" : "[" + kommentar + "]") + "|";
            }
            alles += "\n";
        }
        return alles;
    }
};

}  // namespace tarvex::testing
