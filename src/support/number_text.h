#pragma once
// German number text: amounts and counts live as text with a decimal comma and "." between
// thousands, in masked fields, label captions and fee-table cells. These procedures read and
// write that text in one way for the whole plug-in.

#include <string>

namespace tarvex {

// Reads the number at the start of a text the way the platform's Val does: blanks anywhere
// are skipped, an optional sign, digits and one "." as decimal point are read, the first other
// character ends the number; no digits give 0.
double führendeZahl(const std::string& text);

// Formats a German number text with `Stellen` decimals (0..3), thousands grouped by ".", halves
// away from zero, right-aligned in `Laenge` characters (a longer result is not cut). Digits of
// a partly filled masked field ("5   ,  ") are moved right first. Failures are logged under
// "Funktionen"/"WertFormatieren" and the text built so far is returned.
std::string WertFormatieren(std::string Wert, short Laenge, short Stellen);

// Reads a German number from a text that may carry trailing units ("12,50 €"). A text that
// starts with no number gives 0; a malformed number ("-", "1,2,3") is logged under
// "Funktionen"/"CVal" and gives 0.
double CVal(std::string text);

// Formats a value with the pattern "#,##0" / "#,##0.0" / ... in German notation: at least one
// integer digit, "." between thousands, exactly `stellen` decimals, halves away from zero.
std::string formatGerman(double value, int stellen);

}  // namespace tarvex
