#pragma once
// What the single-line and the multi-line field widgets share: they never edit their text
// themselves but hand typed text to the form as key presses, report the caret so that the
// form's selection follows it, and tell the form when the user moves the focus. The click that
// gives a field the focus is swallowed: the form chose the selection on focus, the click must
// not move it. A derived widget supplies reportCaret() for its own kind of text.

#include <QFocusEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QString>
#include <functional>

namespace tarvex::desktop {

// Whether a focus change with this reason is the user moving within the window (Tab, mouse),
// as opposed to the window losing activation or a popup or menu opening: only then does a
// control lose the focus in the form.
bool userMovedFocus(Qt::FocusReason reason);

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
    FormInput(FieldCallbacks callbacks, QWidget* parent)
        : QtBase(parent), callbacks_(std::move(callbacks)) {}

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

    FieldCallbacks callbacks_;

  private:
    bool swallowMouse_ = false;
};

}  // namespace tarvex::desktop
