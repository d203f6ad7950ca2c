#pragma once
// The line edit that stands for a masked field or a text box. It never edits its text itself:
// typed characters and Backspace go to the form as key presses, and the form's text and
// selection are shown back. Caret movement (arrow keys, Home/End, mouse) stays with Qt and is
// reported so that the form's selection follows it. Paste, cut, undo, Delete, drag and drop
// and the context menu are refused, since the form model has no such user action.

#include <QLineEdit>
#include <functional>

namespace tarvex::desktop {

// Whether a focus change with this reason is the user moving within the window (Tab, mouse),
// as opposed to the window losing activation or a popup or menu opening: only then does a
// control lose the focus in the form.
bool userMovedFocus(Qt::FocusReason reason);

class FieldEdit : public QLineEdit {
    Q_OBJECT
  public:
    struct Callbacks {
        std::function<void()> focusIn;
        std::function<void()> focusOut;
        std::function<void(int key)> key;  // a character (Unicode code point) or Backspace (8)
        // The caret moved: selection start and length in characters.
        std::function<void(int start, int length)> caretMoved;
    };

    explicit FieldEdit(Callbacks callbacks, QWidget* parent = nullptr);

    // Shows `text` with the caret at `start` and `length` characters selected after it
    // (positions in characters, as the form counts them), without reporting anything back.
    void showState(const QString& text, int start, int length);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void sendText(const QString& text);
    void reportCaret();

    Callbacks callbacks_;
    // The press that gave the focus: the form chose the selection on focus, the click must
    // not move it.
    bool swallowMouse_ = false;
};

}  // namespace tarvex::desktop
