#pragma once
// What a user does to a form, with the event procedures firing exactly as they would: the
// front ends (headless scripts, Qt widgets) drive forms only through these calls. Each call
// raises tarvex::Error (5) when the form is not loaded, and (9) for an unknown control. A
// disabled or invisible control ignores the action. Errors raised by event procedures pass
// to the caller. An event procedure that unloads the form ends the action there.

#include <string>

namespace tarvex::ui {

class Form;

namespace user {

// Moves the focus: LostFocus of the control that had it, then GotFocus of this one. Nothing
// happens when the control already has the focus or cannot take it.
void focus(Form& form, const std::string& control);
// Moves the focus away from the control (LostFocus); nothing when it does not have it.
void leave(Form& form, const std::string& control);
// One key into the focused control: KeyPress (the procedure may change the key or cancel it
// with 0), then the control applies the key, then Change when its text changed. Focuses the
// control first when needed.
void keyPress(Form& form, const std::string& control, int key);
// focus, one keyPress per character of the UTF-8 text, then leave.
void type(Form& form, const std::string& control, const std::string& text);
// Clicks: focus (for controls that take it), then a check box toggles, an option button is
// selected and its group cleared (Click only when it was not selected), and Click runs.
void click(Form& form, const std::string& control);
// Opens the combo box's list and picks entry `entry` (0-based): focus, list index, Click,
// then leave. Raises tarvex::Error (380) when there is no such entry.
void chooseListEntry(Form& form, const std::string& combo, int entry);
// The window's close button: unloads the form (Form_Unload runs).
void close(Form& form);

}  // namespace user
}  // namespace tarvex::ui
