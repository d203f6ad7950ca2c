#include "platform/ui/form_state_json.h"

#include "platform/ui/form.h"

namespace tarvex::ui {

namespace {

nlohmann::json controlState(const Control& c) {
    nlohmann::json j;
    j["kind"] = kindName(c.kind());
    j["enabled"] = c.enabled();
    j["visible"] = c.visible();
    if (const auto* captioned = dynamic_cast<const CaptionedControl*>(&c))
        j["caption"] = captioned->caption();
    if (const auto* field = dynamic_cast<const TextControl*>(&c)) {
        j["text"] = field->text();
        if (const auto* box = dynamic_cast<const TextBox*>(&c); box && box->multiLine())
            j["multiline"] = true;
        if (const auto* combo = dynamic_cast<const ComboBox*>(&c)) {
            j["listindex"] = combo->listIndex();
        } else {
            j["selstart"] = field->selStart();
            j["sellength"] = field->selLength();
        }
    }
    if (const auto* box = dynamic_cast<const CheckBox*>(&c)) j["value"] = box->value();
    if (const auto* option = dynamic_cast<const OptionButton*>(&c)) j["value"] = option->value();
    return j;
}

}  // namespace

nlohmann::json formStateJson(const Form& form) {
    nlohmann::json controls = nlohmann::json::object();
    for (const Control* c : form.controls()) controls[c->name()] = controlState(*c);
    return {{"form", form.name()}, {"caption", form.caption()}, {"controls", controls}};
}

}  // namespace tarvex::ui
