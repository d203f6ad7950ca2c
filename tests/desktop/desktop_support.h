#pragma once
// Helpers of the desktop tests: screenshots for people to look at, environment values set for
// one test, and moving the keyboard focus as a user does.

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

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

// Sets (or, with nullopt, removes) an environment variable until the end of the scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

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
