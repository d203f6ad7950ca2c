#pragma once
// Helpers of the desktop tests: screenshots for people to look at and moving the keyboard
// focus as a user does.

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTest>
#include <QWidget>
#include <ostream>

#include "common/scoped_env.h"

// gtest prints Qt strings as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tarvex::testing {

// Saves what `widget` shows as build/screenshots/<name>.png.
inline void saveScreenshot(QWidget& widget, const QString& name) {
    QDir().mkpath(QStringLiteral(TARVEX_SCREENSHOT_DIR));
    widget.grab().save(QStringLiteral(TARVEX_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

// Presses Tab until the control `name` has the focus; false when it never gets it.
inline bool tabTo(const QString& name, int limit = 80) {
    for (int i = 0; i < limit; ++i) {
        QWidget* focused = QApplication::focusWidget();
        if (!focused) return false;
        if (focused->objectName() == name) return true;
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    return false;
}

}  // namespace tarvex::testing
