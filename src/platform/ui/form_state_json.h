#pragma once
// The state of a form as JSON, for the command-line host and end-to-end tests:
// {"form": name, "caption": ..., "controls": {NAME: {...}}} where each control carries
// "kind", "enabled", "visible" and the properties of its kind: "text" (masked fields, text
// boxes, combo boxes; combo boxes also "listindex"; masked fields and text boxes also
// "selstart"/"sellength"), "caption" (labels, buttons, check boxes, option buttons, frames),
// "value" (check boxes 0/1, option buttons true/false). An unloaded form has no controls.

#include <nlohmann/json.hpp>

namespace tarvex::ui {

class Form;

nlohmann::json formStateJson(const Form& form);

}  // namespace tarvex::ui
