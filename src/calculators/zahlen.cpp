#include "calculators/zahlen.h"

#include <algorithm>

#include "platform/variant/variant.h"
#include "support/number_text.h"

namespace tarvex {

std::int16_t Anzahl(const std::string& text) { return Variant(führendeZahl(text)).toInteger(); }

std::int16_t Zeile(std::int16_t zeile, int schritt) {
    return Variant(static_cast<std::int32_t>(zeile + schritt)).toInteger();
}

std::string Feldtext(int n) {
    std::string text = std::to_string(n);
    if (text.size() < 4) text.append(4 - text.size(), ' ');
    return text;
}

std::string Betragstext(double wert) {
    // The value goes through its plain German text, as the formatting procedure expects text.
    return WertFormatieren(germanNumberText(wert), 6, 2);
}

std::string Anteilsbetrag(const std::string& gebühr, const std::string& anteil) {
    return WertFormatieren(germanNumberText(CVal(gebühr) * CVal(anteil) / 1000.0), 8, 2) + " €";
}

std::string ohneTausenderpunkte(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
    return text;
}

}  // namespace tarvex
