// Feeds raw bytes to the German number text procedures and to the Variant's text coercions.
// The first byte picks a field width and decimal count, the rest is the text a user typed or
// a document cell held. Invariants: WertFormatieren pads to the width, CVal never throws,
// formatGerman writes text that reads back as (about) the same number, and the coercions
// refuse bad text only with tarvex::Error.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/variant/variant.h"
#include "support/debug_log.h"
#include "support/number_text.h"

using namespace tarvex;

namespace {

struct Feld {
    short laenge;
    short stellen;
};

// The widths and decimals the calculator fields use, then a few no field has.
constexpr Feld kFelder[] = {{4, 0}, {6, 0}, {7, 0}, {10, 0}, {6, 2},  {7, 2},  {8, 2},  {11, 2},
                            {0, 0}, {1, 2}, {3, 3}, {5, 4},  {6, -1}, {-3, 0}, {12, 3}, {2, 1}};

std::shared_ptr<MemoryLogSink> logSink() {
    static const auto sink = [] {
        auto s = std::make_shared<MemoryLogSink>();
        setLogSink(s);
        return s;
    }();
    return sink;
}

[[noreturn]] void verletzt(const char* was, const std::string& text) {
    std::fprintf(stderr, "Invariante verletzt: %s bei \"%s\"\n", was, text.c_str());
    std::abort();
}

// formatGerman's text must read back as the value rounded to `stellen` decimals.
void formatPrüfen(double wert, int stellen) {
    std::string text;
    try {
        text = formatGerman(wert, stellen);
    } catch (const Error&) {
        if (std::isfinite(wert)) verletzt("formatGerman lehnt eine endliche Zahl ab", "");
        return;
    }
    const auto zurück = parseGermanNumber(text);
    if (!zurück) verletzt("formatGerman schreibt keine deutsche Zahl", text);
    const double toleranz = 0.5 * std::pow(10.0, -stellen) * 1.001 + std::fabs(wert) * 1e-12;
    if (std::fabs(*zurück - wert) > toleranz) verletzt("formatGerman verfälscht den Wert", text);
}

void zahltextPrüfen(const std::string& text, Feld feld) {
    const std::string formatiert = WertFormatieren(text, feld.laenge, feld.stellen);
    if (static_cast<int>(formatiert.size()) < feld.laenge)
        verletzt("WertFormatieren kürzer als die Länge", text);

    try {
        (void)CVal(text);
    } catch (...) {
        verletzt("CVal wirft", text);
    }

    const double führend = führendeZahl(text);
    if (std::isfinite(führend)) formatPrüfen(führend, (feld.stellen & 3));

    if (const auto zahl = parseGermanNumber(text)) {
        formatPrüfen(*zahl, 2);
        formatPrüfen(*zahl, 0);
        if (Variant(text).toDouble() != *zahl) verletzt("toDouble weicht ab", text);
    }
}

// Each coercion either gives a value or raises tarvex::Error; anything else escapes and is
// reported by the fuzzer as a crash.
template <class F>
void erlaubt(F&& umwandlung) {
    try {
        umwandlung();
    } catch (const Error&) {
    }
}

void variantPrüfen(const std::string& text) {
    const Variant v(text);
    erlaubt([&] { (void)v.toInteger(); });
    erlaubt([&] { (void)v.toLong(); });
    erlaubt([&] { (void)v.toSingle(); });
    erlaubt([&] { (void)v.toBool(); });
    erlaubt([&] {
        const double d = v.toDouble();
        (void)Variant(d).toInteger();
        (void)Variant(d).toString();
    });
    erlaubt([&] {
        const Date datum = v.toDate();
        (void)germanDateText(datum);
        (void)Variant(datum).toLong();
    });
    erlaubt([&] { (void)parseIsoDate(text); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto sink = logSink();
    const Feld feld = kFelder[data[0] % (sizeof kFelder / sizeof kFelder[0])];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    zahltextPrüfen(text, feld);
    variantPrüfen(text);
    sink->clear();
    return 0;
}
