#pragma once
// One Qt widget per kind of control: QLineEdit (FieldEdit) for masked fields and text boxes,
// QPlainTextEdit (FieldArea) for multi-line text boxes,
// QLabel, QComboBox, QCheckBox, QRadioButton, QPushButton, QGroupBox for frames and
// QTabWidget for tab strips. The widgets report what the user did through Actions and take
// their whole state from the control in updateControlWidget.

#include <QWidget>
#include <functional>

#include "field_edit.h"
#include "platform/ui/control.h"

namespace tarvex::desktop {

struct Actions {
    std::function<void()> click;
    std::function<void(int entry)> choose;  // list entry of a combo box, 0-based
    std::function<void()> focusIn;          // only for text fields; others are watched
    std::function<void()> focusOut;
    std::function<void(int key)> key;
    std::function<void(int start, int length)> caretMoved;  // in characters
};

// A new widget for the control, child of `parent`, wired to `actions`.
QWidget* createControlWidget(const ui::Control& control, const Actions& actions, QWidget* parent);

// Shows the control's text, caption, value, list and selection in `widget` (made by
// createControlWidget for that control) without reporting anything back.
void updateControlWidget(const ui::Control& control, QWidget* widget);

}  // namespace tarvex::desktop
