#pragma once
// A copy of the basic invoice template as the host's document and the calculator windows in
// Show's slots.

#include <string>
#include <tuple>
#include <vector>

#include "calculators/frmKat5.h"
#include "calculators/kalkulator_slot.h"
#include "calculators/registrierung.h"
#include "common/invoice_fixture.h"
#include "document/fee_table.h"
#include "platform/ui/user_actions.h"

namespace tarvex::testing {

namespace user = ui::user;

// Each expected cell: row, column, text, comment.
using Zelle = std::tuple<short, short, std::string, std::string>;

inline void zellenPrüfen(const word::Table& t, const std::vector<Zelle>& zellen) {
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

    // The calculator window of Show's index `index` loaded afresh as Show opens it;
    // `ersteTabelle`: the user picks the first existing table in the selection dialog.
    template <class Fenster>
    Fenster& laden(int index, bool ersteTabelle = false) {
        if (ersteTabelle)
            driver->push("G_frmTabelle", [](ui::Form& dialog) {
                user::click(dialog, "optTabelle(0)");
                user::click(dialog, "cmdEnde");
            });
        auto& slot = dynamic_cast<KalkulatorSlot&>(windowSlot(index));
        slot.loadAndShow();
        return dynamic_cast<Fenster&>(slot.fenster());
    }
    // The round trip of a fee table: OK on `f`, the invoice saved and reopened, window `index`
    // loaded afresh on the table; it shows the same `zustand` and OK writes the same table
    // again, still the only one tagged `tag`, with nothing logged.
    template <class Fenster, class Zustand>
    void rundlauf(Fenster& f, int index, const std::string& tag, Zustand zustand) {
        const auto vorher = zustand(f);
        user::click(f, "CommandEnde");
        ASSERT_FALSE(f.isLoaded());
        auto t = tabelleMit(tag);
        ASSERT_TRUE(t);
        const std::string geschrieben = inhalt(*t);
        speichernUndNeuÖffnen();

        Fenster& wieder = laden<Fenster>(index, true);
        ASSERT_TRUE(wieder.tabelle().has_value());
        EXPECT_EQ(zustand(wieder), vorher);
        user::click(wieder, "CommandEnde");
        EXPECT_EQ(taggedTables(*doc, tag).size(), 1u);
        t = tabelleMit(tag);
        ASSERT_TRUE(t);
        EXPECT_EQ(inhalt(*t), geschrieben);
        EXPECT_EQ(log.count(), 0u) << log.sink().all();
    }
    frmKat5& grenzfeststellung(bool ersteTabelle = false) {
        return laden<frmKat5>(0, ersteTabelle);
    }
    std::optional<word::Table> gebührentabelle() { return tabelleMit("TARVEX_5"); }
    static std::string text(ui::Form& f, const std::string& feld) { return f.masked(feld).text(); }
    static std::string caption(ui::Form& f, const std::string& name) {
        return f.label(name).caption();
    }

    // Every cell of a table as "text[comments]|", one row a line. Runs of blanks within a cell
    // count as one and blanks at its ends as none, as a count may come back right-aligned in
    // its field.
    static std::string inhalt(const word::Table& t) {
        std::string alles;
        for (long z = 1; z <= t.Rows().Count(); ++z) {
            for (long s = 1; s <= 5; ++s) {
                std::string zelle;
                for (char c : ZelleEinlesen(t, static_cast<short>(z), static_cast<short>(s)))
                    if (c != ' ' || (!zelle.empty() && zelle.back() != ' ')) zelle += c;
                if (!zelle.empty() && zelle.back() == ' ') zelle.pop_back();
                const std::string kommentar = joinedComments(t.Cell(z, s).Range());
                alles += zelle + (kommentar.empty() ? "" : "[" + kommentar + "]") + "|";
            }
            alles += "\n";
        }
        return alles;
    }
};

}  // namespace tarvex::testing
