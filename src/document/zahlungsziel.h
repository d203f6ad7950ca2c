#pragma once
// Payment deadline: the text box named "Zahlungsziel" with the due-date sentence of the host's
// "Version" record.

#include <memory>

#include "platform/word/word.h"

namespace tarvex {

// Deletes every shape named "Zahlungsziel" of `Doc`; when `Zahlungsziel` is true, adds a new
// one anchored to the page with the template sentence, its day count replaced by the due date.
// Never raises: failures are logged as "GebührenTabelle"/"ZahlungsZiel" and the next step runs.
void ZahlungsZiel(const std::shared_ptr<word::Document>& Doc, bool Zahlungsziel);

}  // namespace tarvex
