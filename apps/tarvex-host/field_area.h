#pragma once
// The multi-line text box: like FieldEdit it never edits its text itself. Typed characters,
// Backspace and Enter go to the form as key presses; the form's text (lines ended by "\r\n")
// is shown with Qt's "\n" line ends, and caret positions are translated between the two, so
// the form's selection follows the caret.

#include <QPlainTextEdit>

#include "field_edit.h"

namespace tarvex::desktop {

class FieldArea : public FormInput<QPlainTextEdit> {
    Q_OBJECT
  public:
    explicit FieldArea(FieldEdit::Callbacks callbacks, QWidget* parent = nullptr);

    // Shows the form's `text` with `length` characters selected from `start` (form positions,
    // a line end counting two), without reporting anything back.
    void showState(const QString& text, int start, int length);

  protected:
    void reportCaret() override;
};

}  // namespace tarvex::desktop
