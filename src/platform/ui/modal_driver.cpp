#include "platform/ui/modal_driver.h"

#include "platform/ui/form.h"
#include "platform/ui/user_actions.h"

namespace tarvex::ui {

namespace {
std::shared_ptr<ModalDriver>& currentDriver() {
    static std::shared_ptr<ModalDriver> driver = std::make_shared<ScriptedModalDriver>();
    return driver;
}
}  // namespace

void setModalDriver(std::shared_ptr<ModalDriver> driver) {
    currentDriver() = driver ? std::move(driver) : std::make_shared<ScriptedModalDriver>();
}

ModalDriver& modalDriver() { return *currentDriver(); }

void ScriptedModalDriver::push(const std::string& formName, Script script) {
    scripts_[formName].push_back(std::move(script));
}

void ScriptedModalDriver::runModal(Form& form) {
    shown_.push_back(form.name());
    Script script = fallback_;
    if (auto it = scripts_.find(form.name()); it != scripts_.end() && !it->second.empty()) {
        script = std::move(it->second.front());
        it->second.pop_front();
    }
    const unsigned gen = form.generation();
    if (script) script(form);
    if (form.generation() == gen && form.isLoaded() && form.visible()) user::close(form);
}

}  // namespace tarvex::ui
