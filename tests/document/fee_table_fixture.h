#pragma once
// Fee tables built as a calculator's OK builds them, on a copy of an invoice template.

#include "common/invoice_fixture.h"
#include "document/fee_table.h"
#include "document/summe_loeschen.h"
#include "platform/ui/user_actions.h"

namespace tarvex::testing {

using Zeilen = std::vector<std::vector<std::string>>;

class FeeTableTest : public InvoiceTest {
  protected:
    // A calculator's OK: clear the totals, place, insert, format, fixed rows, items ("no" on
    // every amount but the last), tag.
    word::Table feeTabelle(const std::string& tag, const std::optional<word::Table>& alt,
                           const Zeilen& zeilen, const std::string& fenster = "frmKat5") {
        SummeLöschen();
        word::Table t = doc->Tables().Add(WordTabelleFestlegen(fenster, alt),
                                          static_cast<long>(zeilen.size()) + 2, 5);
        TabelleFormatieren(fenster, t);
        TabellenkopfSchreiben(fenster, t, "Grenzfeststellung nach Nr. 30.6");
        for (std::size_t z = 0; z < zeilen.size(); ++z)
            for (std::size_t s = 0; s < zeilen[z].size(); ++s)
                wordTabelle(t, short(z + 3), short(s + 1), zeilen[z][s], false,
                            s == 4 && z + 1 < zeilen.size() ? "no" : "");
        BookmarkSetzen(t, tag);
        return t;
    }
};

}  // namespace tarvex::testing
