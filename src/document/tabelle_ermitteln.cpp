// TabelleErmitteln: which fee table a calculator window opens on. Lives apart from the cell
// procedures because it is the one that talks to the table selection dialog.

#include <limits>
#include <optional>

#include "document/fee_table.h"
#include "document/tabellenwahl.h"
#include "support/error_trap.h"

namespace tarvex {

namespace {

constexpr int kAngeboteneEinträge = 5;

void zählen(short& n) {
    if (n == std::numeric_limits<short>::max()) throw Error(errc::overflow);
    ++n;
}

// The k-th table (document order) whose first comment reads `Tag`, or none.
std::optional<word::Table> getaggteTabelle(const std::string& Tag, short k, ErrorTrap& trap) {
    std::optional<word::Table> gefunden;
    long anzahl = 0;
    trap.step(110, [&] { anzahl = offenesDokument().Tables().Count(); });
    short treffer = 0;
    for (long i = 1; i <= anzahl && !gefunden; ++i) {
        trap.step(120, [&] {
            word::Table t = offenesDokument().Tables().Item(i);
            word::Comments kommentare = t.Range().Comments();
            if (kommentare.Count() == 0 || kommentare.Item(1).Text() != Tag) return;
            zählen(treffer);
            if (treffer == k) gefunden = t;
        });
    }
    return gefunden;
}

}  // namespace

std::optional<word::Table> TabelleErmitteln(const std::string& Tag, int /*Flag*/) {
    ErrorTrap trap("LM_WordAuto", "TabelleErmitteln");

    // How many comments carry the wanted tag.
    short n = 0;
    std::optional<word::Comments> kommentare;  // taken once: the walk changes no comment
    long anzahl = 0;
    trap.step(10, [&] {
        kommentare = offenesDokument().Comments();
        anzahl = kommentare->Count();
    });
    for (long i = 1; i <= anzahl; ++i) {
        trap.step(20, [&] {
            if (kommentare->Item(i).Text() == Tag) zählen(n);
        });
    }

    // A table under the cursor without any comment is one the plug-in did not write.
    bool fremdeTabelle = false;
    trap.step(30, [&] {
        word::Tables amCursor = offenesDokument().Application().Selection().Tables();
        fremdeTabelle = amCursor.Count() >= 1 && amCursor.Item(1).Range().Comments().Count() == 0;
    });

    if (n == 0 && !fremdeTabelle) return std::nullopt;

    // Entries 1..n are offered, at most five; preparing a sixth or later fails and is logged.
    for (int e = 0; e < std::max<int>(n, kAngeboteneEinträge); ++e) {
        trap.step(40, [&] {
            if (e >= kAngeboteneEinträge)
                throw Error(errc::subscriptOutOfRange,
                            "Element des Steuerelementdatenfeldes existiert nicht");
            G_frmTabelle().option("optTabelle", e).setEnabled(e < n);
        });
    }
    trap.step(50, [&] { G_frmTabelle().option("optAktTabelle").setEnabled(fremdeTabelle); });
    // A choice kept from an earlier use that is not on offer now would pick a table the user
    // cannot see chosen (the cursor table may be another window's fee table): start from new.
    trap.step(60, [&] {
        ui::Form& dialog = G_frmTabelle();
        bool gewähltNichtAngeboten = dialog.option("optAktTabelle").value() && !fremdeTabelle;
        for (int e = n; e < kAngeboteneEinträge; ++e)
            gewähltNichtAngeboten = gewähltNichtAngeboten || dialog.option("optTabelle", e).value();
        if (gewähltNichtAngeboten) dialog.option("optNeu").setValue(true);
    });
    trap.step(70, [&] { G_frmTabelle().show(true); });

    std::optional<Tabellenwahl> wahl;
    trap.step(80, [&] { wahl = TabellenwahlLesen(); });
    if (!wahl) return std::nullopt;

    std::optional<word::Table> ergebnis;
    switch (wahl->art) {
        case Tabellenwahl::Art::Cursortabelle:
            trap.step(90, [&] {
                ergebnis = offenesDokument().Application().Selection().Tables().Item(1);
            });
            break;
        case Tabellenwahl::Art::Neu:
            break;
        case Tabellenwahl::Art::Eintrag:
            ergebnis = getaggteTabelle(Tag, wahl->eintrag, trap);
            break;
    }
    return ergebnis;
}

}  // namespace tarvex
