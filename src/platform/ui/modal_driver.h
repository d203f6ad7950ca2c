#pragma once
// Modal display: Form::show(true) hands the form to the process's ModalDriver, which lets the
// user work with it and returns once the form is hidden or unloaded. The desktop front end
// runs a local event loop; the headless driver plays scripted user actions.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tarvex::ui {

class Form;

class ModalDriver {
  public:
    virtual ~ModalDriver() = default;
    // Lets the user interact with the shown form; returns when it is hidden or unloaded.
    virtual void runModal(Form& form) = 0;
};

// The driver Form::show(true) uses; by default a ScriptedModalDriver without scripts.
// Passing nullptr restores that default.
void setModalDriver(std::shared_ptr<ModalDriver> driver);
ModalDriver& modalDriver();

// Headless driver: plays the next script queued for the form's name (else the fallback
// script, if any). A form still shown after its script is closed as with the window's close
// button, which unloads it, so a headless run never waits for a user who is not there.
class ScriptedModalDriver final : public ModalDriver {
  public:
    using Script = std::function<void(Form&)>;

    ScriptedModalDriver() = default;
    explicit ScriptedModalDriver(Script fallback) : fallback_(std::move(fallback)) {}

    // Queues a script for the next modal display of the form named `formName`.
    void push(const std::string& formName, Script script);
    void runModal(Form& form) override;
    // Names of the forms shown modally so far, in order.
    const std::vector<std::string>& shown() const { return shown_; }

  private:
    std::map<std::string, std::deque<Script>> scripts_;
    Script fallback_;
    std::vector<std::string> shown_;
};

}  // namespace tarvex::ui
