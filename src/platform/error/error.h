#pragma once
// The one failure type of the platform layer: an error number and a German description,
// as the error traps log them. Every platform call that fails throws it.

#include <stdexcept>
#include <string>

namespace tarvex {

// The classic error numbers the plug-in meets.
namespace errc {
inline constexpr int invalidCall = 5;         // invalid procedure call or argument
inline constexpr int overflow = 6;            // number out of range of the target type
inline constexpr int subscriptOutOfRange = 9; // index beyond a collection or array
inline constexpr int divisionByZero = 11;
inline constexpr int typeMismatch = 13;       // text where a number belongs, wrong object
inline constexpr int objectNotSet = 91;       // object reference is unset
inline constexpr int invalidUseOfNull = 94;
inline constexpr int invalidPropertyValue = 380;
inline constexpr int noCurrentRecord = 3021;
inline constexpr int itemNotFound = 3265;     // unknown field name
inline constexpr int fileError = 75;          // path/file access error
}  // namespace errc

// German standard description of a classic error number; a generic text for others.
std::string standardDescription(int number);

class Error : public std::runtime_error {
public:
    // Error with the standard German description of `number`.
    explicit Error(int number);
    // Error with an own description (for example the database engine's message).
    Error(int number, std::string description);

    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

private:
    int number_;
    std::string description_;
};

}  // namespace tarvex
