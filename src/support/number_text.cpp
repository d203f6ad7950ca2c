#include "support/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/variant/variant.h"
#include "support/error_trap.h"

namespace tarvex {

double führendeZahl(const std::string& text) {
    std::string plain;
    bool signSeen = false, pointSeen = false, digitSeen = false;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        if ((c == '+' || c == '-') && !signSeen && !digitSeen && !pointSeen) {
            signSeen = true;
            if (c == '-') plain += c;
        } else if (c >= '0' && c <= '9') {
            digitSeen = true;
            plain += c;
        } else if (c == '.' && !pointSeen) {
            pointSeen = true;
            plain += c;
        } else {
            break;
        }
        signSeen = true;  // a sign is only allowed first
    }
    if (!digitSeen) return 0.0;
    // from_chars reads the "." whatever the process locale; strtod would stop at it under a
    // German LC_NUMERIC, which a Qt host sets from the user's environment.
    double value = 0.0;
    std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return value;
}

std::string formatGerman(double value, int stellen) {
    if (!std::isfinite(value)) throw Error(errc::overflow);
    const double scale = std::pow(10.0, stellen);
    double scaled = std::fabs(value) * scale;
    char digits[400];
    std::string d;
    if (std::isfinite(scaled)) {
        // Remove binary noise far below the last decimal (2.345 is stored as 2.34499999...),
        // so that halves in the decimal text round away from zero as a person expects.
        if (scaled < 1e15) scaled = std::round(scaled * 1e6) / 1e6;
        std::snprintf(digits, sizeof digits, "%.0f", std::round(scaled));  // halves away from zero
        d = digits;
    } else {
        // Near the largest double the scaled value overflows; such a number has no decimals.
        std::snprintf(digits, sizeof digits, "%.0f", std::fabs(value));
        d = digits + std::string(static_cast<std::size_t>(stellen > 0 ? stellen : 0), '0');
    }
    if (static_cast<int>(d.size()) <= stellen)
        d = std::string(static_cast<std::size_t>(stellen) + 1 - d.size(), '0') + d;
    std::string integer = d.substr(0, d.size() - stellen);
    const std::string fraction = d.substr(d.size() - stellen);
    std::string grouped;
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0) grouped += '.';
        grouped += integer[i];
    }
    std::string out = (value < 0 && d.find_first_not_of('0') != std::string::npos) ? "-" : "";
    out += grouped;
    if (stellen > 0) out += "," + fraction;
    return out;
}

namespace {

void replaceAll(std::string& text, char from, const std::string& to) {
    std::string out;
    for (char c : text) {
        if (c == from)
            out += to;
        else
            out += c;
    }
    text = std::move(out);
}

}  // namespace

std::string WertFormatieren(std::string Wert, short Laenge, short Stellen) {
    ErrorTrap trap("Funktionen", "WertFormatieren");
    std::string text = std::move(Wert);
    trap.step(10, [&] { replaceAll(text, '.', ""); });
    trap.step(20, [&] { replaceAll(text, ',', "."); });
    trap.step(30, [&] { replaceAll(text, '%', " "); });
    int n = 0;
    trap.step(40, [&] { n = Stellen == 0 ? Laenge : Laenge - Stellen - 1; });
    trap.step(50, [&] {
        if (n <= 0) return;
        // A partly filled masked field ("5   .  ") holds its digits on the left: shift them
        // right, one blank at a time, until the last integer position holds a digit.
        for (int k = n - 1; k > 0 && static_cast<int>(text.size()) >= n &&
                            text[static_cast<std::size_t>(n - 1)] == ' ';
             --k)
        {
            std::string shifted(1, ' ');
            shifted.append(text, 0, static_cast<std::size_t>(n));
            text = std::move(shifted);
        }
    });
    trap.step(60, [&] {
        if (text.empty()) text.assign(1, '0');  // assign(): gcc 12 -O3 misreports operator=
    });
    trap.step(70, [&] {
        if (führendeZahl(text) == 0.0 && !text.empty() && text.back() == ' ') text.back() = '0';
    });
    trap.step(80, [&] {
        if (Stellen >= 0 && Stellen <= 3) text = formatGerman(führendeZahl(text), Stellen);
    });
    trap.step(90, [&] {
        if (static_cast<int>(text.size()) < Laenge)
            text.insert(0, static_cast<std::size_t>(Laenge) - text.size(), ' ');
    });
    return text;
}

double CVal(std::string text) {
    ErrorTrap trap("Funktionen", "CVal");
    double result = 0.0;
    trap.step(10, [&] {
        const auto first = text.find_first_not_of(' ');
        const auto last = text.find_last_not_of(' ');
        text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    });
    if (auto whole = parseGermanNumber(text)) return *whole;
    std::string collected;
    trap.step(20, [&] {
        for (char c : text) {
            if ((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-')
                collected += c;
            else
                break;
        }
    });
    if (collected.empty() || collected == ",") return 0.0;
    trap.step(30, [&] {
        auto value = parseGermanNumber(collected);
        if (!value) throw Error(errc::typeMismatch);
        result = *value;
    });
    return result;
}

}  // namespace tarvex
