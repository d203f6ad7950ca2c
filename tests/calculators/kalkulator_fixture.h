#pragma once
// A copy of the basic invoice template as the host's document and the calculator windows in
// Show's slots, each opened as Show opens it, with the worked examples the tests start from.

#include <string>
#include <tuple>
#include <vector>

#include "calculators/faktoren.h"
#include "calculators/frmKat1.h"
#include "calculators/frmKat2.h"
#include "calculators/frmKat3.h"
#include "calculators/frmKat4.h"
#include "calculators/frmKat5.h"
#include "calculators/kalkulator_slot.h"
#include "calculators/registrierung.h"
#include "calculators/zahlen.h"
#include "common/invoice_fixture.h"
#include "document/fee_table.h"
#include "platform/ui/user_actions.h"
#include "support/number_text.h"

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
    // The next case of a table-driven test: every window unloaded, a fresh copy of the template.
    void neuerFall() {
        for (int index = 0; index < 5; ++index)
            if (auto& slot = dynamic_cast<KalkulatorSlot&>(windowSlot(index)); slot.isLoaded())
                slot.fenster().unload();
        std::filesystem::remove(folder.path() / "template-basic.docx");
        öffnen("template-basic.docx");
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

class ZerlegungTest : public KalkulatorTest {
  public:
    frmKat1& zerlegung(bool ersteTabelle = false) { return laden<frmKat1>(4, ersteTabelle); }
    std::optional<word::Table> zerlegungstabelle() { return tabelleMit("TARVEX_1"); }
};

class BaulandumlegungTest : public KalkulatorTest {
  public:
    frmKat2& baulandumlegung(bool ersteTabelle = false) { return laden<frmKat2>(3, ersteTabelle); }
    // 3 source parcels, 60 formed parcels, 20 boundary points, 12 to be marked, 250 €/m².
    static void beispielEingeben(ui::Form& f) {
        for (const auto& [feld, wert] : {std::pair{"mskAusFlur", "3"},
                                         {"mskGesamt", "60"},
                                         {"mskGP", "20"},
                                         {"mskAGP", "12"},
                                         {"mskBoden", "250"}})
            user::type(f, feld, wert);
    }
    std::optional<word::Table> gebührentabelle() { return tabelleMit("TARVEX_2"); }
};

class AnlagenTest : public KalkulatorTest {
  public:
    frmKat3& anlagen(bool ersteTabelle = false) { return laden<frmKat3>(2, ersteTabelle); }
    std::optional<word::Table> anlagentabelle() { return tabelleMit("TARVEX_3"); }
    // 2 starting parcels, `gebildet` formed parcels, 10 new boundary points, 8 marked points.
    static void beispiel(ui::Form& f, const char* gebildet = "120") {
        for (const auto& [feld, wert] : {std::pair{"mskAusFlur", "2"},
                                         {"mskFlurstücke", gebildet},
                                         {"mskGP", "10"},
                                         {"mskAGP", "8"}})
            user::type(f, feld, wert);
    }
};

class Gebaeudeaufnahme : public KalkulatorTest {
  public:
    frmKat4& fenster(bool ersteTabelle = false) { return laden<frmKat4>(1, ersteTabelle); }
    std::optional<word::Table> tabelle() { return tabelleMit("TARVEX_4"); }
};

}  // namespace tarvex::testing
