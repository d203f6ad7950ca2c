#pragma once
// The per-user application settings store: string values addressed by application, section
// and key. A real store persists per user; the in-memory one serves tests.

#include <memory>
#include <optional>
#include <string>

namespace tarvex {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or nullopt when there is none. Raises tarvex::Error (75) when the store
    // cannot be read.
    virtual std::optional<std::string> get(const std::string& application, const std::string& section,
                                           const std::string& key) const = 0;
    // Stores the value. Raises tarvex::Error (75) when the store cannot be written.
    virtual void set(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& value) = 0;
};

// A store held in memory for one process lifetime.
std::shared_ptr<SettingsStore> makeMemorySettingsStore();

}  // namespace tarvex
