// The desktop tests run under Qt's offscreen platform, with the class registry, the settings
// and the log in a folder of their own, and with Qt's translations for the locale as the host
// loads them. The invoice preview uses a stand-in program that fails at once, so that only the
// tests about the preview start LibreOffice.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "translations.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto home =
        std::filesystem::temp_directory_path() / ("tarvex-desktop-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("TMPDIR", home.c_str(), 1);
    setenv("TARVEX_SOFFICE", "/bin/false", 0);
    QApplication app(argc, argv);
    tarvex::desktop::installQtTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
