#pragma once
// Event procedures of a form, registered by control name and event kind, as the windows'
// code declares them (`mskAGP_LostFocus`, `optNr_Click(Index)`, `mskBezug_KeyPress`).

#include <functional>
#include <string>

namespace tarvex::ui {

enum class Event {
    Load,    // the form was loaded (control name: kFormEvents)
    Unload,  // the form is about to be unloaded (control name: kFormEvents)
    GotFocus,
    LostFocus,
    KeyPress,  // before the control applies the key; the procedure may change or cancel it
    Click,
    Change  // the user's typing changed the text
};

// Name under which the form's own procedures (Form_Load, Form_Unload) are registered.
inline constexpr const char* kFormEvents = "Form";

struct EventArgs {
    std::string control;  // full control name ("optNr(3)"), or kFormEvents
    int index = -1;       // control-array index, -1 for a plain control
    int keyAscii = 0;     // KeyPress only: the key code; set 0 to cancel or change it
};

using EventHandler = std::function<void(EventArgs&)>;

}  // namespace tarvex::ui
