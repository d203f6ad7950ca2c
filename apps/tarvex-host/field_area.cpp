#include "field_area.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "platform/ui/text_control.h"

namespace tarvex::desktop {

namespace {

QString shown(const QString& formText) {
    QString t = formText;
    return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Form positions count characters with "\r\n" as two; the document counts UTF-16 units with
// a line end as one.
int documentPosition(const QString& formText, int characters) {
    const QList<uint> chars = formText.toUcs4();
    const int n = std::clamp(characters, 0, static_cast<int>(chars.size()));
    return static_cast<int>(
        shown(QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.data()), n)).size());
}
int formPosition(const QString& shownText, int units) {
    QString before = shownText.left(units);
    return static_cast<int>(
        before.replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toUcs4().size());
}

}  // namespace

FieldArea::FieldArea(FieldEdit::Callbacks callbacks, QWidget* parent)
    : FormInput(std::move(callbacks), parent, true) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setTabChangesFocus(true);
    setUndoRedoEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

void FieldArea::showState(const QString& text, int start, int length) {
    const QSignalBlocker block(this);
    const QString display = shown(text);
    if (toPlainText() != display) setPlainText(display);
    const int first = documentPosition(text, std::max(0, start));
    const int last = documentPosition(text, std::max(0, start) + std::max(0, length));
    QTextCursor c = textCursor();
    c.setPosition(first);
    if (last > first) c.setPosition(last, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void FieldArea::reportCaret() {
    if (!callbacks_.caretMoved) return;
    const QString t = toPlainText();
    const QTextCursor c = textCursor();
    const int start = formPosition(t, c.selectionStart());
    callbacks_.caretMoved(start, formPosition(t, c.selectionEnd()) - start);
}

}  // namespace tarvex::desktop
