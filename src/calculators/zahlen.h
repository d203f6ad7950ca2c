#pragma once
// Counts, row numbers and amounts as the calculator windows read and show them. Counts and
// row numbers are 16-bit: a value out of range raises error 6, so that the caller's trap logs
// it instead of working on a wrapped number.

#include <cstdint>
#include <string>

namespace tarvex {

// The count in a field's or cell's text: digits up to the first other character (blanks
// skipped, none give 0), rounded to the nearest 16-bit integer with halves to even.
// Raises tarvex::Error (6) when the number does not fit into 16 bits.
std::int16_t Anzahl(const std::string& text);

// Row `zeile` moved down by `schritt` rows. Raises tarvex::Error (6) beyond 32767.
std::int16_t Zeile(std::int16_t zeile, int schritt);

// A count as a four-place masked field takes it: the digits, then blanks up to four places
// ("10  "); a longer number is returned whole.
std::string Feldtext(int n);

// An amount as the windows show it: two decimals, thousands grouped, at least six characters
// right-aligned ("  0,00", "1.250,00").
std::string Betragstext(double wert);

// The client's share of a fee as the share row writes it: the fee caption `gebühr` times the
// share text `anteil` (1/1000, decimal comma) divided by 1000, eight characters wide with two
// decimals, followed by " €".
std::string Anteilsbetrag(const std::string& gebühr, const std::string& anteil);

// A German number text without its thousands separators ("1.000" becomes "1000"), so that it
// fits a masked field of plain digits.
std::string ohneTausenderpunkte(std::string text);

}  // namespace tarvex
