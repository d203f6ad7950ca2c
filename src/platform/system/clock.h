#pragma once
// The wall clock, behind an interface so that log entries and invoice dates can be fixed in
// tests and by the hosts (TARVEX_HEUTE).

#include <chrono>
#include <ctime>
#include <memory>
#include <optional>

namespace tarvex {

class Clock {
public:
    virtual ~Clock() = default;
    // Local calendar time now.
    virtual std::tm localNow() const = 0;
};

// The system's local time.
std::shared_ptr<Clock> systemClock();
// A clock that always shows the given local time.
std::shared_ptr<Clock> fixedClock(std::tm at);
// The system clock with its date replaced by $TARVEX_HEUTE (YYYY-MM-DD) when that is set and
// valid; nullopt in `error` is set to true when the variable is set but malformed.
std::shared_ptr<Clock> clockFromEnvironment(bool* malformed = nullptr);
// Parses "YYYY-MM-DD" into a tm at midnight; nullopt when malformed or not a real date.
std::optional<std::tm> parseIsoDay(const char* text);

}  // namespace tarvex
