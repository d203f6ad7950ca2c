#include "field_edit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "platform/ui/text_control.h"

namespace tarvex::desktop {

namespace {

bool movesCaretOnly(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return e->matches(QKeySequence::SelectAll);
    }
}

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

FieldEdit::FieldEdit(Callbacks callbacks, QWidget* parent)
    : FormInput(std::move(callbacks), parent) {
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

// QLineEdit's own editing keys (paste, cut, undo, Delete) end here too and are dropped.
void FieldEdit::keyPressEvent(QKeyEvent* e) {
    if (movesCaretOnly(e)) {
        QLineEdit::keyPressEvent(e);
        reportCaret();
        return;
    }
    if (e->matches(QKeySequence::Copy)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
        case Qt::Key_Backspace:
            sendKey(ui::kKeyBackspace);
            e->accept();
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            e->ignore();  // focus chain, default and cancel buttons
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

void FieldEdit::inputMethodEvent(QInputMethodEvent* e) {
    // Composed characters (dead keys, input methods) arrive here instead of as key presses.
    if (!e->commitString().isEmpty()) sendText(e->commitString());
    e->accept();
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
