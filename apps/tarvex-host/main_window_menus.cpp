// The main window's menus and what they open: file dialogs, recent files, the invoice record
// choice and the word processor.
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <set>

#include "invoice_dialog.h"
#include "invoice_records.h"
#include "main_window.h"
#include "platform/error/error.h"
#include "plugin/session/plattform.h"
#include "plugin/session/window_slots.h"
#include "preview_dock.h"
#include "recent_files.h"

namespace tarvex::desktop {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// Show's indexes in the order of the fee schedule: 30.1, 30.2, 30.3, 30.4, 30.6.
constexpr int kFeeItems[] = {4, 3, 2, 1, 0};

// `text` with "&" before its first letter not yet taken in the menu (Alt+letter picks it).
QString withAccelerator(const QString& text, std::set<QChar>& taken) {
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i).toLower();
        if (c.isLetter() && taken.insert(c).second)
            return QString(text).insert(i, QLatin1Char('&'));
    }
    return text;
}

const QString kInvoices = QStringLiteral("Rechnung");
const QString kDatabases = QStringLiteral("Datenbank");

}  // namespace

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->addAction(QStringLiteral("&Rechnung öffnen…"), QKeySequence::Open, this,
                    &MainWindow::chooseInvoiceFile);
    file->addAction(QStringLiteral("&Datenbank öffnen…"), this, &MainWindow::chooseDatabaseFile);
    file->addAction(QStringLiteral("Rechnung &wählen…"), this, &MainWindow::chooseInvoiceRecord);
    recentMenu_ = file->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    file->addSeparator();
    file->addAction(QStringLiteral("Im &Textverarbeitungsprogramm öffnen"), this,
                    &MainWindow::openInWordProcessor);
    file->addAction(QStringLiteral("&Speichern"), QKeySequence::Save, this, [this] { save(); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Beenden"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* fees = menuBar()->addMenu(QStringLiteral("&Gebühren"));
    std::set<QChar> taken;
    for (int index : kFeeItems)
        fees->addAction(withAccelerator(qt(windowCaption(index)), taken) + QStringLiteral("…"),
                        this, [this, index] { openFeeItem(index); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&Ansicht"));
    QAction* preview = preview_->toggleViewAction();
    preview->setText(QStringLiteral("&Vorschau"));
    view->addAction(preview);
}

void MainWindow::fillRecentMenu() {
    recentMenu_->clear();
    int number = 0;
    for (const QString& kind : {kInvoices, kDatabases}) {
        const QStringList paths = RecentFiles(*plattform().settings, kind).paths();
        if (paths.isEmpty()) continue;
        if (number > 0) recentMenu_->addSeparator();
        for (const QString& path : paths) {
            ++number;
            const QString label = number < 10 ? QStringLiteral("&%1 ").arg(number) : QString();
            recentMenu_->addAction(label + QStringLiteral("%1: %2").arg(kind, path), this,
                                   [this, kind, path] {
                                       if (kind == kInvoices)
                                           openInvoice(path);
                                       else if (openDatabase(path, std::nullopt))
                                           chooseInvoiceRecord();
                                   });
        }
    }
    if (number == 0) recentMenu_->addAction(QStringLiteral("(keine)"))->setEnabled(false);
}

QString MainWindow::startFolder() const {
    for (const std::string& path : {session_.documentPath(), session_.databasePath()})
        if (!path.empty()) return QFileInfo(qt(path)).absolutePath();
    for (const QString& kind : {kInvoices, kDatabases}) {
        const QStringList paths = RecentFiles(*plattform().settings, kind).paths();
        if (!paths.isEmpty()) return QFileInfo(paths.front()).absolutePath();
    }
    return QDir::currentPath();
}

void MainWindow::chooseInvoiceFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Rechnung öffnen"), startFolder(),
                                     QStringLiteral("Word-Dokumente (*.docx);;Alle Dateien (*)"));
    if (!path.isEmpty()) openInvoice(path);
}

void MainWindow::chooseDatabaseFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Datenbank öffnen"), startFolder(),
        QStringLiteral("SQLite-Datenbanken (*.sqlite *.db *.sqlite3);;Alle Dateien (*)"));
    if (!path.isEmpty() && openDatabase(path, std::nullopt)) chooseInvoiceRecord();
}

bool MainWindow::chooseInvoiceRecord() {
    if (!session_.database()) {
        report(QStringLiteral("Bitte zuerst eine Datenbank öffnen."), true);
        return false;
    }
    std::vector<host::InvoiceSummary> invoices;
    try {
        invoices = host::listInvoices(*session_.database());
    } catch (const Error& e) {
        report(QStringLiteral("Die Rechnungen der Datenbank sind nicht lesbar: ") +
                   qt(e.description()),
               true);
        return false;
    }
    InvoiceDialog dialog(std::move(invoices), session_.invoice(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (!selectInvoice(dialog.chosen())) return false;
    report(session_.invoice() ? QStringLiteral("Rechnung %1 gewählt.").arg(invoiceNumber_)
                              : QStringLiteral("Kein Rechnungsdatensatz gewählt."));
    return true;
}

void MainWindow::openInWordProcessor() {
    if (session_.documentPath().empty()) {
        report(QStringLiteral("Keine Rechnung geöffnet."), true);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(qt(session_.documentPath()))))
        report(QStringLiteral("Kein Programm für Word-Dokumente gefunden."), true);
}

}  // namespace tarvex::desktop
