#pragma once
// Access to the host objects that Show kept, for the totals and the payment deadline.

#include <memory>
#include <string>

#include "platform/dao/dao.h"
#include "platform/word/word.h"

namespace tarvex::summen {

// The invoice document; 91 when unset, 13 when the object is no document.
std::shared_ptr<word::Document> Dokument();

// The host database (NeueAbfrage); 91 when unset.
dao::Database& Datenbank();

// A key read from a record, as query text: the value converted to a whole number, so that
// whatever a column holds cannot change the query. 13 for text that is no number, 94 for Null.
std::string SchlüsselText(const dao::Recordset& satz, const std::string& feld);

}  // namespace tarvex::summen
