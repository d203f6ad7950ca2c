#include "document/summe_loeschen.h"

#include "document/fee_table.h"
#include "support/error_trap.h"

namespace tarvex {

void SummeLöschen() {
    ErrorTrap trap("GebührenTabelle", "SummeLöschen");
    long anzahl = 0;
    trap.step(10, [&] { anzahl = offenesDokument().Tables().Count(); });
    // Walk backwards: deleting a table shifts the numbers of the ones after it, never of the
    // ones before, so every table is looked at exactly once.
    for (long i = anzahl; i >= 1; --i) {
        trap.step(20, [&] {
            word::Table t = offenesDokument().Tables().Item(i);
            word::Comments kommentare = t.Range().Comments();
            const long n = kommentare.Count();
            for (long k = 1; k <= n; ++k) {
                if (kommentare.Item(k).Text() == "RE_Summe") {
                    t.Delete();
                    return;
                }
            }
        });
    }
}

}  // namespace tarvex
