#pragma once
// A copy of the basic invoice template as the host's document and the calculator windows in
// Show's slots.

#include <tuple>

#include "calculators/frmKat5.h"
#include "calculators/kalkulator_slot.h"
#include "calculators/registrierung.h"
#include "common/invoice_fixture.h"
#include "document/fee_table.h"
#include "platform/ui/user_actions.h"

namespace tarvex::testing {

namespace user = ui::user;

// Each expected cell: row, column, text, comment.
using Zelle = std::tuple<short, short, const char*, const char*>;

inline void zellenPrüfen(const word::Table& t, std::initializer_list<Zelle> zellen) {
    for (const auto& [zeile, spalte, text, kommentar] : zellen) {
        SCOPED_TRACE(::testing::Message() << "Zelle " << zeile << "," << spalte);
        EXPECT_EQ(ZelleEinlesen(t, zeile, spalte), text);
        EXPECT_EQ(joinedComments(t.Cell(zeile, spalte).Range()), kommentar);
    }
}

class KalkulatorTest : public InvoiceTest {
  public:
    void SetUp() override {
        InvoiceTest::SetUp();
        sitzungsdaten().hWndMDI = 0x777;
        registriereKalkulatoren();
        öffnen("template-basic.docx");
    }

    // frmKat5 loaded afresh as Show opens it; `ersteTabelle`: the user picks the first
    // existing table in the selection dialog.
    frmKat5& grenzfeststellung(bool ersteTabelle = false) {
        if (ersteTabelle)
            driver->push("G_frmTabelle", [](ui::Form& dialog) {
                user::click(dialog, "optTabelle(0)");
                user::click(dialog, "cmdEnde");
            });
        auto& slot = dynamic_cast<KalkulatorSlot&>(windowSlot(0));
        slot.loadAndShow();
        return dynamic_cast<frmKat5&>(slot.fenster());
    }
    std::optional<word::Table> gebührentabelle() { return tabelleMit("TARVEX_5"); }
    static std::string text(ui::Form& f, const std::string& feld) { return f.masked(feld).text(); }
    static std::string caption(ui::Form& f, const std::string& name) {
        return f.label(name).caption();
    }
};

}  // namespace tarvex::testing
