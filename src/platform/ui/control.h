#pragma once
// Controls of the toolkit-neutral form model. A control holds exactly the state the fee logic
// reads and writes (text, caption, value, list, selection, enabled, visible) plus what a front
// end needs to draw it generically: a static caption drawn beside it and a layout rectangle.
//
// Layout unit: twips (1/1440 inch), relative to the form's client area, the same unit as the
// form's Top/Left. A front end at 96 dpi divides by 15 to get pixels.
//
// Property setters are the program's own assignments: they never fire event procedures. What a
// user does goes through user_actions.h, which fires them.

#include <string>
#include <vector>

namespace tarvex::ui {

class Form;

enum class ControlKind {
    Label,
    TextBox,
    MaskedField,
    ComboBox,
    CheckBox,
    OptionButton,
    CommandButton,
    Frame,
    TabStrip
};

// "Label", "TextBox", "MaskedField", ... (used in the JSON state and by front ends).
const char* kindName(ControlKind kind);

// Position and size in twips.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class Control {
  public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    virtual ControlKind kind() const = 0;
    // Whether a user can move the focus to it (labels, frames and tab strips cannot).
    virtual bool canTakeFocus() const { return true; }

    // Full name as designed, e.g. "mskAGP" or "optNr(3)" for an element of a control array.
    const std::string& name() const { return name_; }
    // Name without the array index ("optNr"); the name itself for a plain control.
    const std::string& baseName() const { return baseName_; }
    // Array index, or -1 for a control that is not in a control array.
    int index() const { return index_; }

    // A disabled or invisible control ignores user actions; the program may still set it.
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    bool visible() const { return visible_; }
    void setVisible(bool on) { visible_ = on; }

    // Static text a front end draws beside the control ("Anzahl Grenzpunkte "); not state.
    const std::string& staticLabel() const { return staticLabel_; }
    void setStaticLabel(std::string text) { staticLabel_ = std::move(text); }
    const Rect& rect() const { return rect_; }
    void setRect(Rect r) { rect_ = r; }

    // The form that owns the control.
    Form& form() const { return *form_; }

  protected:
    Control(Form& owner, std::string name, Rect rect);

  private:
    Form* form_;
    std::string name_;
    std::string baseName_;
    int index_ = -1;
    bool enabled_ = true;
    bool visible_ = true;
    std::string staticLabel_;
    Rect rect_;
};

// A control with a caption (labels, buttons, check boxes, option buttons, frames).
class CaptionedControl : public Control {
  public:
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text) { caption_ = std::move(text); }

  protected:
    CaptionedControl(Form& owner, std::string name, std::string caption, Rect rect)
        : Control(owner, std::move(name), rect), caption_(std::move(caption)) {}

  private:
    std::string caption_;
};

class Label final : public CaptionedControl {
  public:
    Label(Form& owner, std::string name, std::string caption, Rect rect)
        : CaptionedControl(owner, std::move(name), std::move(caption), rect) {}
    ControlKind kind() const override { return ControlKind::Label; }
    bool canTakeFocus() const override { return false; }
};

class CommandButton final : public CaptionedControl {
  public:
    CommandButton(Form& owner, std::string name, std::string caption, Rect rect)
        : CaptionedControl(owner, std::move(name), std::move(caption), rect) {}
    ControlKind kind() const override { return ControlKind::CommandButton; }
    // Key of the image shown on the button ("OK", "Abbruch"); empty for none.
    const std::string& picture() const { return picture_; }
    void setPicture(std::string key) { picture_ = std::move(key); }

  private:
    std::string picture_;
};

class Frame final : public CaptionedControl {
  public:
    Frame(Form& owner, std::string name, std::string caption, Rect rect)
        : CaptionedControl(owner, std::move(name), std::move(caption), rect) {}
    ControlKind kind() const override { return ControlKind::Frame; }
    bool canTakeFocus() const override { return false; }
};

// Visual grouping only: the tab captions and which tab is in front.
class TabStrip final : public Control {
  public:
    TabStrip(Form& owner, std::string name, std::vector<std::string> tabs, Rect rect)
        : Control(owner, std::move(name), rect), tabs_(std::move(tabs)) {}
    ControlKind kind() const override { return ControlKind::TabStrip; }
    bool canTakeFocus() const override { return false; }
    const std::vector<std::string>& tabs() const { return tabs_; }
    int selectedTab() const { return selectedTab_; }
    // Raises tarvex::Error (380) when `index` is not a tab of the strip.
    void setSelectedTab(int index);

  private:
    std::vector<std::string> tabs_;
    int selectedTab_ = 0;
};

class CheckBox final : public CaptionedControl {
  public:
    CheckBox(Form& owner, std::string name, std::string caption, Rect rect)
        : CaptionedControl(owner, std::move(name), std::move(caption), rect) {}
    ControlKind kind() const override { return ControlKind::CheckBox; }
    // 0 unchecked, 1 checked.
    int value() const { return value_; }
    // Raises tarvex::Error (380) for a value other than 0 or 1.
    void setValue(int value);

  private:
    int value_ = 0;
};

// Option buttons of one group exclude each other: selecting one clears the others of the
// same group on the same form. The default group "" holds every button placed without one.
class OptionButton final : public CaptionedControl {
  public:
    OptionButton(Form& owner, std::string name, std::string caption, Rect rect, std::string group)
        : CaptionedControl(owner, std::move(name), std::move(caption), rect),
          group_(std::move(group)) {}
    ControlKind kind() const override { return ControlKind::OptionButton; }
    bool value() const { return value_; }
    // Setting true clears every other button of the group; setting false touches only this one.
    void setValue(bool on);
    const std::string& group() const { return group_; }

  private:
    bool value_ = false;
    std::string group_;
};

}  // namespace tarvex::ui
