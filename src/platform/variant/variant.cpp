#include "platform/variant/variant.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tarvex {

std::optional<Variant> Object::defaultValue() const { return std::nullopt; }

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// clang 14 (the fuzz build) does not deduce aggregate template arguments by itself.
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Numeric value of a variant that is not Null/Object, or nullopt for text that is no number.
double numericOf(const Variant& v);

template <class Int>
Int toWhole(const Variant& v) {
    const double r = roundHalfEven(numericOf(v));
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max())))
        throw Error(errc::overflow);
    return static_cast<Int>(r);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

Variant::Type Variant::type() const { return static_cast<Type>(value_.index()); }

bool Variant::isNumeric() const {
    switch (type()) {
        case Type::Integer:
        case Type::Long:
        case Type::Single:
        case Type::Double:
        case Type::Boolean: return true;
        default: return false;
    }
}

Variant Variant::resolved() const {
    if (!isObject()) return *this;
    const auto& obj = std::get<std::shared_ptr<Object>>(value_);
    if (!obj) throw Error(errc::objectNotSet);
    auto value = obj->defaultValue();
    if (!value) throw Error(errc::typeMismatch);
    return value->resolved();
}

namespace {

double numericOf(const Variant& in) {
    const Variant v = in.resolved();
    switch (v.type()) {
        case Variant::Type::Empty: return 0.0;
        case Variant::Type::Null: throw Error(errc::invalidUseOfNull);
        case Variant::Type::String: {
            auto parsed = parseGermanNumber(v.toString());
            if (!parsed) throw Error(errc::typeMismatch);
            return *parsed;
        }
        case Variant::Type::Boolean: return v.toBool() ? -1.0 : 0.0;
        case Variant::Type::Date: return v.toDate().serial;
        default: return v.toDouble();
    }
}

}  // namespace

std::int16_t Variant::toInteger() const { return toWhole<std::int16_t>(*this); }
std::int32_t Variant::toLong() const { return toWhole<std::int32_t>(*this); }

double Variant::toDouble() const {
    return std::visit(Overloaded{
                          [](std::int16_t v) { return static_cast<double>(v); },
                          [](std::int32_t v) { return static_cast<double>(v); },
                          [](float v) { return static_cast<double>(v); },
                          [](double v) { return v; },
                          [this](const auto&) { return numericOf(*this); },
                      },
                      value_);
}

float Variant::toSingle() const {
    const double d = toDouble();
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
        throw Error(errc::overflow);
    return static_cast<float>(d);
}

bool Variant::toBool() const {
    if (type() == Type::Boolean) return std::get<bool>(value_);
    const Variant v = resolved();
    if (v.type() == Type::Boolean) return v.toBool();
    if (v.type() == Type::String) {
        const std::string& s = std::get<std::string>(v.value_);
        if (s == "Wahr" || s == "True") return true;
        if (s == "Falsch" || s == "False") return false;
    }
    return numericOf(v) != 0.0;
}

std::string Variant::toString() const {
    return std::visit(
        Overloaded{
            [](std::monostate) { return std::string(); },
            [](NullTag) -> std::string { throw Error(errc::invalidUseOfNull); },
            [](std::int16_t v) { return std::to_string(v); },
            [](std::int32_t v) { return std::to_string(v); },
            // Single precision shows at most 7 significant digits.
            [](float v) {
                char buf[32];
                std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(v));
                return germanNumberText(std::strtod(buf, nullptr));
            },
            [](double v) { return germanNumberText(v); },
            [](const std::string& v) { return v; },
            [](bool v) { return std::string(v ? "Wahr" : "Falsch"); },
            [](Date v) { return germanDateText(v); },
            [this](const std::shared_ptr<Object>&) { return resolved().toString(); },
        },
        value_);
}

Date Variant::toDate() const {
    const Variant v = resolved();
    if (v.type() == Type::Date) return std::get<Date>(v.value_);
    if (v.type() == Type::Null) throw Error(errc::invalidUseOfNull);
    if (v.type() == Type::String) {
        const std::string& s = std::get<std::string>(v.value_);
        if (auto iso = parseIsoDate(s)) return *iso;
        int d = 0, m = 0, y = 0;
        char tail = 0;
        if (std::sscanf(s.c_str(), "%d.%d.%d%c", &d, &m, &y, &tail) == 3 && m >= 1 && m <= 12 &&
            d >= 1 && d <= 31)
            return makeDate(y, m, d);
        throw Error(errc::typeMismatch);
    }
    return Date{numericOf(v)};
}

std::shared_ptr<Object> Variant::toObject() const {
    if (type() == Type::Empty) throw Error(errc::objectNotSet);
    if (type() != Type::Object) throw Error(errc::typeMismatch);
    const auto& obj = std::get<std::shared_ptr<Object>>(value_);
    if (!obj) throw Error(errc::objectNotSet);
    return obj;
}

bool Variant::operator==(const Variant& other) const { return value_ == other.value_; }

std::string germanNumberText(double value) {
    if (value == 0.0) return "0";  // also turns -0 into "0"
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string s(buf);
    // Exponent form as the platform writes it: "1E+16", "1,5E-07".
    if (auto e = s.find('e'); e != std::string::npos) {
        std::string mantissa = s.substr(0, e);
        std::string exponent = s.substr(e + 1);
        char sign = exponent[0];
        std::string digits = exponent.substr(1);
        while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
        s = mantissa + "E" + sign + digits;
    }
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

std::optional<double> parseGermanNumber(const std::string& text) {
    std::size_t i = 0, end = text.size();
    while (i < end && isBlank(text[i])) ++i;
    while (end > i && isBlank(text[end - 1])) --end;
    if (i == end) return std::nullopt;
    std::string plain;  // C-locale text for from_chars
    if (text[i] == '+' || text[i] == '-') {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    bool digits = false, comma = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain += c;
            digits = true;
        } else if (c == '.' && !comma) {
            // thousands separator: skipped wherever it stands in the integer part
        } else if (c == ',' && !comma) {
            comma = true;
            plain += '.';
        } else if ((c == 'E' || c == 'e') && digits) {
            plain += 'e';
            ++i;
            if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
            bool expDigits = false;
            for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i) {
                plain += text[i];
                expDigits = true;
            }
            if (!expDigits || i != end) return std::nullopt;
            break;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || ptr != plain.data() + plain.size()) return std::nullopt;
    return value;
}

double roundHalfEven(double value) {
    const double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    return r;
}

double divide(double dividend, double divisor) {
    if (divisor == 0.0) throw Error(dividend == 0.0 ? errc::overflow : errc::divisionByZero);
    const double q = dividend / divisor;
    if (!std::isfinite(q)) throw Error(errc::overflow);
    return q;
}

namespace {
constexpr std::chrono::sys_days kEpoch =
    std::chrono::sys_days{std::chrono::year{1899} / std::chrono::December / 30};
}

Date makeDate(int year, int month, int day) {
    using namespace std::chrono;
    // The calendar's year type holds only 16 bits; dates beyond the years 100..9999 are no
    // dates the platform knows.
    if (year < 100 || year > 9999) throw Error(errc::typeMismatch);
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    if (!ymd.ok()) throw Error(errc::typeMismatch);
    return Date{static_cast<double>((sys_days{ymd} - kEpoch).count())};
}

void splitDate(Date date, int& year, int& month, int& day) {
    using namespace std::chrono;
    if (!std::isfinite(date.serial) || std::fabs(date.serial) > 3e6) throw Error(errc::overflow);
    const sys_days d = kEpoch + days{static_cast<int>(std::floor(date.serial))};
    const year_month_day ymd{d};
    year = static_cast<int>(ymd.year());
    month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    day = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

std::string germanDateText(Date date) {
    int y = 0, m = 0, d = 0;
    splitDate(date, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d, m, y);
    return buf;
}

std::optional<Date> parseIsoDate(const std::string& text) {
    int y = 0, m = 0, d = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &m, &d, &consumed) != 3 || consumed != 10)
        return std::nullopt;
    double fraction = 0.0;
    if (text.size() > 10) {
        int hh = 0, mm = 0, ss = 0;
        const char sep = text[10];
        if ((sep != ' ' && sep != 'T') ||
            std::sscanf(text.c_str() + 11, "%2d:%2d:%2d", &hh, &mm, &ss) < 2)
            return std::nullopt;
        fraction = (hh * 3600 + mm * 60 + ss) / 86400.0;
    }
    try {
        return Date{makeDate(y, m, d).serial + fraction};
    } catch (const Error&) {
        return std::nullopt;
    }
}

}  // namespace tarvex
