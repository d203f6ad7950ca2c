#pragma once
// Clearing the invoice totals before a fee table is (re)written.

namespace tarvex {

// Deletes every table of the document that carries a comment reading exactly "RE_Summe"
// (the totals table of an earlier run); all other tables stay. Failures are logged under
// "GebührenTabelle"/"SummeLöschen" and the walk goes on.
void SummeLöschen();

}  // namespace tarvex
