#pragma once
// How a host run ends: what it came to, and the failure that ended it.

#include <stdexcept>
#include <string>

namespace tarvex::host {

// What a host run came to; the command-line host's exit status is its value.
enum class Outcome {
    Ok = 0,          // invoice and record both written (or nothing to write)
    NotWritten = 1,  // nothing written: the invoice or the database could not be written
    BadInput = 2,    // arguments, file or database content unusable
    Busy = 3,        // invoice or database held by someone else longer than the wait
};

// A step of the host that failed; what() is one German sentence for the user.
class HostError : public std::runtime_error {
  public:
    explicit HostError(const std::string& message, Outcome outcome = Outcome::BadInput)
        : std::runtime_error(message), outcome_(outcome) {}
    Outcome outcome() const { return outcome_; }

  private:
    Outcome outcome_;
};

}  // namespace tarvex::host
