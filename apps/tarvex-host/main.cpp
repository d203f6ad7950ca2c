// tarvex-host: the desktop host. Optional arguments open an invoice and a database at start:
//   tarvex-host [--doc DATEI] [--db DATEI] [--rechnung ID] [--user N]
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <optional>

#include "main_window.h"
#include "platform/settings/qt_settings_store.h"
#include "plugin/session/plattform.h"
#include "translations.h"

namespace {

std::optional<int> number(const QCommandLineParser& p, const QString& option) {
    if (!p.isSet(option)) return std::nullopt;
    bool ok = false;
    const int value = p.value(option).toInt(&ok);
    if (!ok) {
        qCritical("tarvex-host: --%s erwartet eine ganze Zahl", qPrintable(option));
        std::exit(2);
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarvex-host"));
    QApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("tarvex-host"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarvex-host"),
                                                 QIcon(QStringLiteral(":/icons/tarvex-host.png"))));
    tarvex::desktop::installQtTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Gebührenfenster in einer Rechnung (.docx) mit Datenbank (SQLite)"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"doc", QStringLiteral("die Rechnung (.docx)"), QStringLiteral("DATEI")},
        {"db", QStringLiteral("die Datenbank des Büroprogramms (SQLite)"), QStringLiteral("DATEI")},
        {"rechnung", QStringLiteral("der Rechnungsdatensatz (ID_Rechnungsnummer)"),
         QStringLiteral("ID")},
        {"user", QStringLiteral("Benutzernummer für TempDoc (Vorgabe 1)"), QStringLiteral("N")},
    });
    parser.process(app);

    tarvex::plattform().settings = tarvex::makeQtSettingsStore();
    tarvex::desktop::MainWindow window(number(parser, "user").value_or(1));
    // Shown first, so that a file that cannot be opened is reported in a message box.
    window.show();
    if (parser.isSet("doc")) window.openInvoice(parser.value("doc"));
    if (parser.isSet("db")) window.openDatabase(parser.value("db"), number(parser, "rechnung"));
    return QApplication::exec();
}
