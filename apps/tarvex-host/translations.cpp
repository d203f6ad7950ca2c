#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tarvex::desktop {

bool installQtTranslations(QCoreApplication& app) {
    // "qt" pulls in qtbase and the other modules' catalogues that are installed.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace tarvex::desktop
