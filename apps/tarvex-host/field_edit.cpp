#include "field_edit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "platform/ui/text_control.h"

namespace tarvex::desktop {

namespace {

// The form counts characters, QString UTF-16 units.
int unitsFor(const QString& s, int characters) {
    int units = 0;
    for (int c = 0; c < characters && units < s.size(); ++c)
        units += s.at(units).isHighSurrogate() ? 2 : 1;
    return units;
}
int charactersFor(const QString& s, int units) {
    int characters = 0;
    for (int u = 0; u < units && u < s.size(); ++characters) u += s.at(u).isHighSurrogate() ? 2 : 1;
    return characters;
}

}  // namespace

bool userMovedFocus(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

bool movesCaretOnly(QKeyEvent* e, bool multiLine) {
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return multiLine;
        default:
            return e->matches(QKeySequence::SelectAll);
    }
}

FieldEdit::FieldEdit(Callbacks callbacks, QWidget* parent)
    : FormInput(std::move(callbacks), parent, false) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

void FieldEdit::showState(const QString& text, int start, int length) {
    const QSignalBlocker block(this);
    if (this->text() != text) setText(text);
    const int first = unitsFor(text, std::max(0, start));
    const int last = unitsFor(text, std::max(0, start) + std::max(0, length));
    if (last > first)
        setSelection(first, last - first);
    else
        setCursorPosition(first);
}

void FieldEdit::reportCaret() {
    if (!callbacks_.caretMoved) return;
    const QString t = text();
    const int first = hasSelectedText() ? selectionStart() : cursorPosition();
    const int last = hasSelectedText() ? selectionEnd() : first;
    const int start = charactersFor(t, first);
    callbacks_.caretMoved(start, charactersFor(t, last) - start);
}

}  // namespace tarvex::desktop
