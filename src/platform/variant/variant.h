#pragma once
// The tagged value that crosses every interface the plug-in talks to (database fields,
// late-bound calls, property values), with the coercion rules the fee logic relies on:
// integers round to the nearest whole number with halves to even, 16/32-bit overflow raises
// error 6, Null raises error 94, text that is no number raises error 13, and numbers become
// German text ("6006,25").

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "platform/error/error.h"

namespace tarvex {

class Variant;

// Base of every object that can travel inside a Variant (documents, databases, record sets,
// fields). `defaultValue` is the value an object stands for when it is used as a plain value
// (a database field gives its value); objects without one raise error 13 when coerced.
class Object {
public:
    virtual ~Object() = default;
    virtual std::string typeName() const = 0;
    virtual std::optional<Variant> defaultValue() const;
};

// A calendar date and time as the serial number of days since 30.12.1899 (time as fraction).
struct Date {
    double serial = 0.0;
    bool operator==(const Date&) const = default;
};

class Variant {
public:
    enum class Type { Empty, Null, Integer, Long, Single, Double, String, Boolean, Date, Object };

    Variant() = default;  // Empty
    Variant(std::int16_t v) : value_(v) {}
    Variant(std::int32_t v) : value_(v) {}
    Variant(float v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}
    Variant(Date v) : value_(v) {}
    Variant(std::shared_ptr<Object> v) : value_(std::move(v)) {}
    template <class T>
        requires std::is_base_of_v<Object, T>
    Variant(std::shared_ptr<T> v) : value_(std::shared_ptr<Object>(std::move(v))) {}

    static Variant null() {
        Variant v;
        v.value_ = NullTag{};
        return v;
    }

    Type type() const;
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isNumeric() const;  // Integer, Long, Single, Double, Boolean
    bool isString() const { return type() == Type::String; }
    bool isObject() const { return type() == Type::Object; }

    // Coercions. Each raises tarvex::Error: 94 for Null, 13 for text or objects that are not
    // numbers, 6 when the value lies outside the target range.
    std::int16_t toInteger() const;  // halves to even
    std::int32_t toLong() const;     // halves to even
    float toSingle() const;
    double toDouble() const;
    bool toBool() const;             // 0 false, any other number true
    std::string toString() const;    // German number text, "Wahr"/"Falsch", dd.mm.yyyy
    Date toDate() const;
    // The object held; error 91 when Empty (unset), 13 when the value is not an object.
    std::shared_ptr<Object> toObject() const;
    // The object held as T; error 13 when it is of another kind.
    template <class T>
    std::shared_ptr<T> objectAs() const {
        auto p = std::dynamic_pointer_cast<T>(toObject());
        if (!p) throw Error(errc::typeMismatch);
        return p;
    }

    // Plain value of an object (its default value), or the value itself when not an object.
    Variant resolved() const;

    // Strict equality of kind and value, for tests and change detection.
    bool operator==(const Variant& other) const;

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, std::int16_t, std::int32_t, float, double, std::string,
                 bool, Date, std::shared_ptr<Object>>
        value_;
};

// Numbers as the platform writes them in the German locale: shortest form with up to 15
// significant digits, decimal comma, no thousands separators (6006.25 -> "6006,25").
std::string germanNumberText(double value);
// A number in German notation ("1.234,56", "-12,5", " 7 "); nullopt when the text is not one.
std::optional<double> parseGermanNumber(const std::string& text);
// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

// Floating-point division that fails as the platform does: x/0 raises 11, 0/0 raises 6.
double divide(double dividend, double divisor);

// Calendar helpers for Date (proleptic Gregorian calendar).
Date makeDate(int year, int month, int day);
void splitDate(Date date, int& year, int& month, int& day);
// "dd.mm.yyyy"
std::string germanDateText(Date date);
// ISO text "YYYY-MM-DD" with an optional time part; nullopt when not a date.
std::optional<Date> parseIsoDate(const std::string& text);

}  // namespace tarvex
