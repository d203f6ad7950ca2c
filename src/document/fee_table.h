#pragma once
// The fee table writer: finding the fee table a calculator window edits, placing and
// formatting a new one, writing and reading its cells, and tagging the finished table.
//
// Places and tables are marked with marker comments (review comments whose whole text is a
// marker name, compared exactly): "lumStart" where fee tables go, the window's table tag
// ("TARVEX_1" .. "TARVEX_5") on cell (1,5) of its fee table, "no" on amounts not to be added.
// All procedures work on the document the host handed over (sitzungsdaten().Doc) and trap
// their failures: a failing step is logged and the next one runs.

#include <array>
#include <optional>
#include <string>

#include "platform/word/word.h"

namespace tarvex {

// The open invoice document. Raises 91 when the host has handed over none (or no document).
word::Document& offenesDokument();

// The fee table the window tagged `Tag` is to edit, or none for a new one. Counts the tables
// tagged `Tag` and checks for a foreign table under the cursor; when either is there, lets
// the user choose in the dialog G_frmTabelle (shown modally). `Flag` is passed as 0 by every
// caller and has no effect. Failures are logged under "LM_WordAuto"/"TabelleErmitteln".
std::optional<word::Table> TabelleErmitteln(const std::string& Tag, int Flag);

// Where the new fee table goes: in place of `Tabelle` (which is deleted) when given, else
// before the "lumStart" marker (the last one in comment order, each gets a new paragraph),
// else at the end of the body after a new paragraph. Failures are logged under
// `Fenstername`/"WordTabelleFestlegen"; when no place could be determined the result is the
// end of the body. Raises 91 only when there is no document at all.
word::Range WordTabelleFestlegen(const std::string& Fenstername,
                                 const std::optional<word::Table>& Tabelle);

// Formats a newly inserted fee table: no borders, right-aligned with columns 1 and 2 left,
// and the column widths of window `Fenstername` ("frmKat1" .. "frmKat5"; 17.5 cm in total).
// Failures are logged under `Fenstername`/"TabelleFormatieren".
void TabelleFormatieren(const std::string& Fenstername, word::Table& Tabelle);

// The five column widths in centimetres of window `Fenstername` ("frmKat1" .. "frmKat5").
// Raises 5 for any other name.
std::array<double, 5> Spaltenbreiten(const std::string& Fenstername);

// Writes the two fixed rows of a fee table: cell (1,1) the heading `Überschrift` (bold,
// underlined, followed by a line break), row 1 cells 1 to 4 narrowed to 12/1/1/1 cm so that
// cell (1,5) keeps its 2.5 cm for the tag, and row 2 the bold column headers. Failures are
// logged under `Fenstername`/"CommandEnde_Click", as the rows are the window's OK work.
void TabellenkopfSchreiben(const std::string& Fenstername, word::Table& Tabelle,
                           const std::string& Überschrift);

// Appends `Text` to cell (Zeile, Spalte), makes the cell bold when `Fett`, and anchors a
// comment `Kommentar` on it when that is not empty. A cell that cannot be written stays as
// it was; failures are logged under "Rechnung"/"wordTabelle".
void wordTabelle(word::Table& Tabelle, short Zeile, short Spalte, const std::string& Text,
                 bool Fett, const std::string& Kommentar);

// The text of cell (Zeile, Spalte) without its end-of-cell mark; blanks stay as written.
// "" when the cell cannot be read (logged under "Rechnung"/"ZelleEinlesen").
std::string ZelleEinlesen(const word::Table& Tabelle, short Zeile, short Spalte);

// Tags a finished fee table: selects cell (1,5) and anchors a comment `Tag` on it; the
// selection stays in that cell. Failures are logged under "LM_WordAuto"/"BookmarkSetzen".
void BookmarkSetzen(word::Table& Tabelle, const std::string& Tag);

}  // namespace tarvex
