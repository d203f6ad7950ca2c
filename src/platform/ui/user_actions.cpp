#include "platform/ui/user_actions.h"

#include "platform/error/error.h"
#include "platform/ui/form.h"
#include "platform/ui/utf8.h"

namespace tarvex::ui::user {

namespace {

// Event procedures may unload or reload the form, or disable the control, at any point; each
// step looks the control up again and stops when the form it started on is gone.
class Session {
  public:
    Session(Form& form, const std::string& control) : form_(form), name_(control) {
        if (!form.isLoaded())
            throw Error(errc::invalidCall, "Formular nicht geladen: " + form.name());
        if (!form.find(control))
            throw Error(errc::subscriptOutOfRange,
                        "Steuerelement nicht gefunden: " + form.name() + "." + control);
        generation_ = form.generation();
    }
    // The control while the form is still the one the action started on, else nullptr.
    Control* control() const {
        if (!form_.isLoaded() || form_.generation() != generation_) return nullptr;
        return form_.find(name_);
    }
    // The control when it still takes user input.
    Control* usable() const {
        Control* c = control();
        return c && c->enabled() && c->visible() ? c : nullptr;
    }
    Form& form() const { return form_; }
    const std::string& name() const { return name_; }

  private:
    Form& form_;
    std::string name_;
    unsigned generation_ = 0;
};

// Moves the focus to the session's control; false when it cannot have it afterwards.
bool moveFocus(const Session& s) {
    Control* target = s.usable();
    if (!target || !target->canTakeFocus()) return false;
    if (s.form().activeControl() == target) return true;
    if (Control* previous = s.form().activeControl()) {
        const std::string previousName = previous->name();
        s.form().setActiveControl(nullptr);
        s.form().raise(previousName, Event::LostFocus);
        target = s.usable();
        if (!target) return false;
    }
    s.form().setActiveControl(target);
    s.form().raise(s.name(), Event::GotFocus);
    return s.form().activeControl() == s.control() && s.usable();
}

void pressKey(const Session& s, int key) {
    if (!moveFocus(s)) return;
    EventArgs args;
    args.keyAscii = key;
    s.form().raise(s.name(), Event::KeyPress, args);
    if (args.keyAscii == 0) return;
    auto* field = dynamic_cast<TextControl*>(s.usable());
    if (field && field->applyKey(args.keyAscii)) s.form().raise(s.name(), Event::Change);
}

void leaveControl(const Session& s) {
    Control* c = s.control();
    if (!c || s.form().activeControl() != c) return;
    s.form().setActiveControl(nullptr);
    s.form().raise(s.name(), Event::LostFocus);
}

}  // namespace

void focus(Form& form, const std::string& control) { moveFocus(Session(form, control)); }

void leave(Form& form, const std::string& control) { leaveControl(Session(form, control)); }

void keyPress(Form& form, const std::string& control, int key) {
    pressKey(Session(form, control), key);
}

void type(Form& form, const std::string& control, const std::string& text) {
    const Session s(form, control);
    if (!moveFocus(s)) return;
    for (std::size_t at = 0; at < text.size();) {
        pressKey(s, utf8::next(text, at));
        if (!s.control()) return;
    }
    leaveControl(s);
}

void click(Form& form, const std::string& control) {
    const Session s(form, control);
    Control* c = s.usable();
    if (!c) return;
    if (c->canTakeFocus() && !moveFocus(s)) return;
    c = s.usable();
    if (!c) return;
    if (auto* box = dynamic_cast<CheckBox*>(c)) {
        box->setValue(box->value() == 0 ? 1 : 0);
    } else if (auto* option = dynamic_cast<OptionButton*>(c)) {
        if (option->value()) return;
        option->setValue(true);
    }
    form.raise(s.name(), Event::Click);
}

void chooseListEntry(Form& form, const std::string& combo, int entry) {
    const Session s(form, combo);
    if (!dynamic_cast<ComboBox*>(s.control()))
        throw Error(errc::typeMismatch, "Kein Kombinationsfeld: " + form.name() + "." + combo);
    if (!moveFocus(s)) return;
    auto* box = dynamic_cast<ComboBox*>(s.usable());
    if (!box) return;
    if (entry < 0 || entry >= static_cast<int>(box->entries().size()))
        throw Error(errc::invalidPropertyValue);
    box->setListIndex(entry);
    form.raise(s.name(), Event::Click);
    leaveControl(s);
}

void close(Form& form) {
    if (!form.isLoaded()) throw Error(errc::invalidCall, "Formular nicht geladen: " + form.name());
    form.unload();
}

}  // namespace tarvex::ui::user
