#include "platform/system/clock.h"

#include <cstdio>
#include <cstdlib>

namespace tarvex {

namespace {

class SystemClock final : public Clock {
public:
    std::tm localNow() const override {
        const std::time_t t = std::time(nullptr);
        std::tm out{};
        localtime_r(&t, &out);
        return out;
    }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(std::tm at) : at_(at) {}
    std::tm localNow() const override { return at_; }

private:
    std::tm at_;
};

// Keeps the time of day of the system clock but shows another date.
class ShiftedDateClock final : public Clock {
public:
    explicit ShiftedDateClock(std::tm day) : day_(day) {}
    std::tm localNow() const override {
        std::tm now = SystemClock().localNow();
        now.tm_year = day_.tm_year;
        now.tm_mon = day_.tm_mon;
        now.tm_mday = day_.tm_mday;
        now.tm_wday = day_.tm_wday;
        now.tm_yday = day_.tm_yday;
        return now;
    }

private:
    std::tm day_;
};

}  // namespace

std::shared_ptr<Clock> systemClock() { return std::make_shared<SystemClock>(); }

std::shared_ptr<Clock> fixedClock(std::tm at) { return std::make_shared<FixedClock>(at); }

std::optional<std::tm> parseIsoDay(const char* text) {
    if (!text) return std::nullopt;
    int y = 0, m = 0, d = 0, consumed = 0;
    if (std::sscanf(text, "%4d-%2d-%2d%n", &y, &m, &d, &consumed) != 3 || text[consumed] != '\0')
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = 12;  // noon: normalising never crosses a day boundary
    std::tm check = tm;
    if (timegm(&check) == -1 || check.tm_year != tm.tm_year || check.tm_mon != tm.tm_mon ||
        check.tm_mday != tm.tm_mday)
        return std::nullopt;
    check.tm_hour = 0;
    return check;
}

std::shared_ptr<Clock> clockFromEnvironment(bool* malformed) {
    if (malformed) *malformed = false;
    const char* value = std::getenv("TARVEX_HEUTE");
    if (!value || !*value) return systemClock();
    if (auto day = parseIsoDay(value)) return std::make_shared<ShiftedDateClock>(*day);
    if (malformed) *malformed = true;
    return systemClock();
}

}  // namespace tarvex
