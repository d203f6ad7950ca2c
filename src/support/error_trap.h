#pragma once
// The error trap every fallible procedure arms: a step that fails is logged once under the
// procedure's module and name, with the step's number as "Zeile", and the next step runs.
// Code without a trap simply lets tarvex::Error pass to its caller.

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "platform/error/error.h"
#include "support/debug_log.h"

namespace tarvex {

class ErrorTrap {
public:
    ErrorTrap(std::string modul, std::string prozedur)
        : modul_(std::move(modul)), prozedur_(std::move(prozedur)) {}

    // Runs `body` as step `zeile`. Returns true when it completed; on failure logs the
    // failure, leaves whatever the step had not yet assigned as it was, and returns false.
    template <class F>
    bool step(int zeile, F&& body) noexcept {
        try {
            std::forward<F>(body)();
            return true;
        } catch (const Error& e) {
            report(zeile, e.number(), e.description());
        } catch (const std::bad_alloc&) {
            report(zeile, 7, "Nicht genügend Speicher");
        } catch (const std::exception& e) {
            report(zeile, errc::invalidCall, e.what());
        } catch (...) {
            report(zeile, errc::invalidCall, standardDescription(errc::invalidCall));
        }
        return false;
    }

    // Number of failed steps so far.
    int failures() const { return failures_; }

private:
    void report(int zeile, int nummer, std::string beschreibung) noexcept;

    std::string modul_;
    std::string prozedur_;
    int failures_ = 0;
};

}  // namespace tarvex
