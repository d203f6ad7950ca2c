#pragma once
// A form: a window with its controls (owned by name, kept in creation order), its event
// procedures, and the window properties the plug-in uses. Loading builds the controls in their
// design state and runs Form_Load; unloading runs Form_Unload and discards all state, so the
// next load starts afresh. Event procedures and the design survive unloading.
//
// References to controls are valid only while the form stays loaded: look controls up by
// name inside event procedures instead of keeping references across an unload.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/error/error.h"
#include "platform/system/window_manager.h"
#include "platform/ui/control.h"
#include "platform/ui/events.h"
#include "platform/ui/masked_field.h"
#include "platform/ui/text_control.h"

namespace tarvex::ui {

enum class MousePointer { Default = 0, Hourglass = 11 };
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

class Form {
  public:
    using Design = std::function<void(Form&)>;

    // A form whose controls `design` creates on every load (with the add* calls below).
    Form(std::string name, Design design);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text) { caption_ = std::move(text); }

    // --- lifecycle ---------------------------------------------------------------------
    bool isLoaded() const { return loaded_; }
    // Loads the form when it is not loaded: design state, new window handle, then Form_Load.
    // An error raised by Form_Load passes to the caller; the form stays loaded.
    void load();
    // Runs Form_Unload, then discards controls and window state. Nothing when not loaded.
    void unload();
    // Loads when needed and shows the form. Modal: hands control to the current ModalDriver
    // and returns when the form has been hidden or unloaded. Raises tarvex::Error (400) when
    // the form is already shown and modal display is asked for.
    void show(bool modal = false);
    // Hides the form; it stays loaded with all its state.
    void hide();
    bool visible() const { return visible_; }
    bool modal() const { return modal_; }
    // Increases on every load; lets callers notice that an event procedure reloaded the form.
    unsigned generation() const { return generation_; }

    // --- window properties (reset by unload) -------------------------------------------
    MousePointer mousePointer() const { return mousePointer_; }
    void setMousePointer(MousePointer pointer) { mousePointer_ = pointer; }
    WindowState windowState() const { return windowState_; }
    void setWindowState(WindowState state) { windowState_ = state; }
    // As the platform takes it from code: raises tarvex::Error (380) outside 0..2.
    void setWindowState(int state);
    float top() const { return top_; }  // twips from the top of the screen
    void setTop(float twips) { top_ = twips; }
    float left() const { return left_; }  // twips from the left of the screen
    void setLeft(float twips) { left_ = twips; }
    int width() const { return width_; }  // twips
    int height() const { return height_; }
    void setSize(int widthTwips, int heightTwips);
    // Handle given at load; 0 while not loaded.
    WindowHandle windowHandle() const { return handle_; }
    const std::string& icon() const { return icon_; }  // icon resource key, "" for none
    void setIcon(std::string key) { icon_ = std::move(key); }

    // --- design (call from the Design function) ----------------------------------------
    // Each raises tarvex::Error (5) when a control of that name exists already.
    Label& addLabel(const std::string& name, std::string caption, Rect rect = {});
    TextBox& addTextBox(const std::string& name, Rect rect = {});
    MaskedField& addMaskedField(const std::string& name, std::string mask, Rect rect = {});
    ComboBox& addComboBox(const std::string& name, std::vector<std::string> entries,
                          Rect rect = {});
    CheckBox& addCheckBox(const std::string& name, std::string caption, Rect rect = {});
    OptionButton& addOptionButton(const std::string& name, std::string caption, Rect rect = {},
                                  std::string group = "");
    CommandButton& addCommandButton(const std::string& name, std::string caption, Rect rect = {});
    Frame& addFrame(const std::string& name, std::string caption, Rect rect = {});
    TabStrip& addTabStrip(const std::string& name, std::vector<std::string> tabs, Rect rect = {});

    // --- controls ------------------------------------------------------------------------
    // As on the platform, touching a control of an unloaded form loads the form first.
    // Unknown name: tarvex::Error (9); a control of another kind: tarvex::Error (13).
    Control& control(const std::string& name);
    template <class T>
    T& get(const std::string& name) {
        auto* c = dynamic_cast<T*>(&control(name));
        if (!c) throw wrongKind(name);
        return *c;
    }
    MaskedField& masked(const std::string& name) { return get<MaskedField>(name); }
    Label& label(const std::string& name) { return get<Label>(name); }
    TextBox& textBox(const std::string& name) { return get<TextBox>(name); }
    ComboBox& combo(const std::string& name) { return get<ComboBox>(name); }
    CheckBox& checkBox(const std::string& name) { return get<CheckBox>(name); }
    OptionButton& option(const std::string& name) { return get<OptionButton>(name); }
    CommandButton& button(const std::string& name) { return get<CommandButton>(name); }
    // The element `index` of a control array: option("optNr", 3) is option("optNr(3)").
    OptionButton& option(const std::string& base, int index);

    // The control, or nullptr when there is none or the form is not loaded. Never loads.
    Control* find(const std::string& name) const;
    // All controls in creation order (empty while not loaded).
    std::vector<Control*> controls() const;

    // The control holding the focus, or nullptr.
    Control* activeControl() const { return active_; }

    // --- event procedures ----------------------------------------------------------------
    // Registers the procedure for a control (full name "optNr(3)", or the array's base name
    // "optNr" for all its elements) and event; replaces an earlier one.
    void on(const std::string& control, Event event, EventHandler handler);
    // Runs the procedure registered for the control and event, if any (exact name first, then
    // the array's base name). Errors raised by the procedure pass to the caller.
    void raise(const std::string& control, Event event, EventArgs& args);
    void raise(const std::string& control, Event event);

    // Used by the user actions: moves the focus without firing anything.
    void setActiveControl(Control* control) { active_ = control; }

  private:
    template <class T, class... Args>
    T& add(const std::string& name, Args&&... args);
    Error wrongKind(const std::string& name) const;
    void resetWindowState();

    std::string name_;
    Design design_;
    std::string caption_;
    bool loaded_ = false;
    bool visible_ = false;
    bool modal_ = false;
    unsigned generation_ = 0;
    MousePointer mousePointer_ = MousePointer::Default;
    WindowState windowState_ = WindowState::Normal;
    float top_ = 0;
    float left_ = 0;
    int width_ = 0;
    int height_ = 0;
    WindowHandle handle_ = 0;
    std::string icon_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*> byName_;
    Control* active_ = nullptr;
    std::map<std::pair<std::string, Event>, EventHandler> handlers_;
};

}  // namespace tarvex::ui
