#include <map>
#include <tuple>

#include "platform/settings/settings_store.h"

namespace tarvex {

namespace {

class MemorySettingsStore final : public SettingsStore {
  public:
    std::optional<std::string> get(const std::string& application, const std::string& section,
                                   const std::string& key) const override {
        const auto it = values_.find({application, section, key});
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    void set(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override {
        values_[{application, section, key}] = value;
    }

  private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

}  // namespace

std::shared_ptr<SettingsStore> makeMemorySettingsStore() {
    return std::make_shared<MemorySettingsStore>();
}

}  // namespace tarvex
