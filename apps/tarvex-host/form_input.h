#pragma once
// What the single-line and the multi-line field widgets share: they never edit their text
// themselves but hand typed text to the form as key presses, report the caret so that the
// form's selection follows it, and tell the form when the user moves the focus. The click that
// gives a field the focus is swallowed: the form chose the selection on focus, the click must
// not move it. A derived widget supplies reportCaret() for its own kind of text.

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QString>
#include <functional>

#include "platform/ui/text_control.h"

namespace tarvex::desktop {

// Whether a focus change with this reason is the user moving within the window (Tab, mouse),
// as opposed to the window losing activation or a popup or menu opening: only then does a
// control lose the focus in the form.
bool userMovedFocus(Qt::FocusReason reason);

// Keys the widget handles itself because they only move the caret or change the selection
// (in a multi-line field the vertical ones too).
bool movesCaretOnly(QKeyEvent* e, bool multiLine);

struct FieldCallbacks {
    std::function<void()> focusIn;
    std::function<void()> focusOut;
    std::function<void(int key)> key;  // a character (Unicode code point) or a key number
    // The caret moved: selection start and length in characters.
    std::function<void(int start, int length)> caretMoved;
};

template <class QtBase>
class FormInput : public QtBase {
  protected:
    // `multiLine`: Return is a line break typed into the field; otherwise it goes on to the
    // window's default button.
    FormInput(FieldCallbacks callbacks, QWidget* parent, bool multiLine)
        : QtBase(parent), callbacks_(std::move(callbacks)), multiLine_(multiLine) {}

    // Reports the widget's caret and selection in form positions through callbacks_.caretMoved.
    virtual void reportCaret() = 0;

    void sendKey(int key) {
        if (callbacks_.key) callbacks_.key(key);
    }
    void sendText(const QString& text) {
        for (char32_t c : text.toUcs4()) sendKey(static_cast<int>(c));
    }

    void focusInEvent(QFocusEvent* e) override {
        {
            const QSignalBlocker block(this);
            QtBase::focusInEvent(e);
        }
        swallowMouse_ = e->reason() == Qt::MouseFocusReason;
        if (callbacks_.focusIn) callbacks_.focusIn();
    }
    void focusOutEvent(QFocusEvent* e) override {
        QtBase::focusOutEvent(e);
        swallowMouse_ = false;
        if (userMovedFocus(e->reason()) && callbacks_.focusOut) callbacks_.focusOut();
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton || swallowMouse_) {
            e->accept();
            return;
        }
        QtBase::mousePressEvent(e);
        reportCaret();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (swallowMouse_) return;
        QtBase::mouseMoveEvent(e);
        if (e->buttons() & Qt::LeftButton) reportCaret();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        // Releasing the middle button would paste the X selection.
        if (e->button() == Qt::LeftButton && !swallowMouse_) {
            QtBase::mouseReleaseEvent(e);
            reportCaret();
        }
        swallowMouse_ = false;
        e->accept();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        QtBase::mouseDoubleClickEvent(e);
        reportCaret();
    }

    // The widget's own editing keys (paste, cut, undo, Delete) end here too and are dropped.
    void keyPressEvent(QKeyEvent* e) override {
        if (movesCaretOnly(e, multiLine_)) {
            QtBase::keyPressEvent(e);
            reportCaret();
            return;
        }
        if (e->matches(QKeySequence::Copy)) {
            QtBase::keyPressEvent(e);
            return;
        }
        switch (e->key()) {
            case Qt::Key_Backspace:
                sendKey(ui::kKeyBackspace);
                e->accept();
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (!multiLine_) {
                    e->ignore();  // the default button
                    return;
                }
                sendKey(ui::kKeyEnter);
                e->accept();
                return;
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Escape:
                e->ignore();  // focus chain and cancel button
                return;
            default:
                break;
        }
        const QString text = e->text();
        if (!text.isEmpty() && text.at(0).isPrint() &&
            !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            sendText(text);
        e->accept();
    }
    // Composed characters (dead keys, input methods) arrive here instead of as key presses.
    void inputMethodEvent(QInputMethodEvent* e) override {
        if (!e->commitString().isEmpty()) sendText(e->commitString());
        e->accept();
    }

    FieldCallbacks callbacks_;

  private:
    bool multiLine_;
    bool swallowMouse_ = false;
};

}  // namespace tarvex::desktop
