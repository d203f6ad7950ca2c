#pragma once
// The line edit that stands for a masked field or a text box. It never edits its text itself:
// typed characters and Backspace go to the form as key presses, and the form's text and
// selection are shown back. Caret movement (arrow keys, Home/End, mouse) stays with Qt and is
// reported so that the form's selection follows it. Paste, cut, undo, Delete, drag and drop
// and the context menu are refused, since the form model has no such user action.

#include <QLineEdit>

#include "form_input.h"

namespace tarvex::desktop {

class FieldEdit : public FormInput<QLineEdit> {
    Q_OBJECT
  public:
    using Callbacks = FieldCallbacks;

    explicit FieldEdit(Callbacks callbacks, QWidget* parent = nullptr);

    // Shows `text` with the caret at `start` and `length` characters selected after it
    // (positions in characters, as the form counts them), without reporting anything back.
    void showState(const QString& text, int start, int length);

  protected:
    void reportCaret() override;
};

}  // namespace tarvex::desktop
