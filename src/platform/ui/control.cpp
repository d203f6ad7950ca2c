#include "platform/ui/control.h"

#include <cstdlib>

#include "platform/error/error.h"
#include "platform/ui/form.h"

namespace tarvex::ui {

const char* kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return "Label";
        case ControlKind::TextBox:
            return "TextBox";
        case ControlKind::MaskedField:
            return "MaskedField";
        case ControlKind::ComboBox:
            return "ComboBox";
        case ControlKind::CheckBox:
            return "CheckBox";
        case ControlKind::OptionButton:
            return "OptionButton";
        case ControlKind::CommandButton:
            return "CommandButton";
        case ControlKind::Frame:
            return "Frame";
        case ControlKind::TabStrip:
            return "TabStrip";
    }
    return "Control";
}

Control::Control(Form& owner, std::string name, Rect rect)
    : form_(&owner), name_(std::move(name)), baseName_(name_), rect_(rect) {
    // "optNr(3)": element 3 of the control array "optNr".
    const auto open = name_.find('(');
    if (open != std::string::npos && open > 0 && name_.back() == ')') {
        const std::string digits = name_.substr(open + 1, name_.size() - open - 2);
        if (!digits.empty() && digits.size() < 6 &&
            digits.find_first_not_of("0123456789") == std::string::npos) {
            baseName_ = name_.substr(0, open);
            index_ = std::atoi(digits.c_str());
        }
    }
}

void TabStrip::setSelectedTab(int index) {
    if (index < 0 || index >= static_cast<int>(tabs_.size()))
        throw Error(errc::invalidPropertyValue);
    selectedTab_ = index;
}

void CheckBox::setValue(int value) {
    if (value != 0 && value != 1) throw Error(errc::invalidPropertyValue);
    value_ = value;
}

void OptionButton::setValue(bool on) {
    if (on) {
        for (Control* c : form().controls()) {
            auto* other = dynamic_cast<OptionButton*>(c);
            if (other && other != this && other->group_ == group_) other->value_ = false;
        }
    }
    value_ = on;
}

}  // namespace tarvex::ui
