#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include "form_widget.h"
#include "platform/dao/dao.h"
#include "platform/ui/form.h"
#include "platform/ui/user_actions.h"
#include "plugin/session/plattform.h"
#include "plugin/session/window_slots.h"
#include "qt_modal_driver.h"
#include "qt_window_manager.h"

namespace tarvex::desktop {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// Show's indexes in the order of the fee schedule: 30.1, 30.2, 30.3, 30.4, 30.6.
constexpr int kFeeItems[] = {4, 3, 2, 1, 0};

// While the session waits for the database or an invoice held by someone else, the status
// bar says so and the window keeps painting; notes that do not stop the work go there too.
host::SessionOptions sessionOptions(QMainWindow* window) {
    host::SessionOptions options;
    options.waitNotice = [window](bool waiting) {
        window->statusBar()->showMessage(
            waiting ? QStringLiteral("Warte auf die Datenbank oder die Rechnung …") : QString());
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    options.inform = [window](const std::string& note) {
        window->statusBar()->showMessage(qt(note), 8000);
    };
    return options;
}

}  // namespace

MainWindow::MainWindow(std::int32_t user, QWidget* parent)
    : QMainWindow(parent),
      session_(sessionOptions(this)),
      user_(user),
      area_(new QMdiArea(this)),
      status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("TARVEX-Host"));
    setCentralWidget(area_);
    statusBar()->addPermanentWidget(status_);
    buildMenus();
    windows_ = std::make_shared<QtWindowManager>(kMdiClient, area_);
    plattform().windowManager = windows_;
    ui::setModalDriver(std::make_shared<QtModalDriver>(this));
    resize(1000, 720);
    updateStatus();
}

MainWindow::~MainWindow() {
    // The calculator windows outlive this window (they belong to the plug-in): close them so
    // that nothing refers to the document and the database the session releases now.
    for (auto& [index, view] : views_)
        if (view && view->form().isLoaded()) try {
                ui::user::close(view->form());
            } catch (...) {
            }
    ui::setModalDriver(nullptr);
    if (plattform().windowManager == windows_) plattform().windowManager.reset();
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->addAction(QStringLiteral("&Rechnung öffnen…"), this, &MainWindow::chooseInvoice);
    file->addAction(QStringLiteral("&Datenbank öffnen…"), this, &MainWindow::chooseDatabase);
    file->addSeparator();
    file->addAction(QStringLiteral("&Speichern"), QKeySequence::Save, this, [this] { save(); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Beenden"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* fees = menuBar()->addMenu(QStringLiteral("&Gebühren"));
    for (int index : kFeeItems)
        fees->addAction(qt(windowCaption(index)) + QStringLiteral("…"), this,
                        [this, index] { openFeeItem(index); });
}

bool MainWindow::openInvoice(const QString& path) {
    try {
        session_.openDocument(path.toStdString());
    } catch (const host::HostError& e) {
        report(qt(e.what()), true);
        return false;
    }
    report(QStringLiteral("Rechnung geöffnet: ") + QFileInfo(path).fileName());
    return true;
}

bool MainWindow::openDatabase(const QString& path, std::optional<int> invoice) {
    try {
        session_.openDatabase(path.toStdString());
        session_.selectInvoice(invoice);
    } catch (const host::HostError& e) {
        report(qt(e.what()), true);
        return false;
    }
    report(QStringLiteral("Datenbank geöffnet: ") + QFileInfo(path).fileName());
    return true;
}

FormWidget* MainWindow::openFeeItem(int index) {
    if (!session_.ready()) {
        report(QStringLiteral("Bitte zuerst eine Rechnung und eine Datenbank öffnen."), true);
        return nullptr;
    }
    ui::Form* form = nullptr;
    QString failure;
    try {
        form = session_.show(index, user_, kMdiClient);
    } catch (const std::exception& e) {
        failure = qt(e.what());
    }
    if (!form) {
        report(failure.isEmpty() ? QStringLiteral("Das Fenster „%1“ hat sich nicht geöffnet.")
                                       .arg(qt(windowCaption(index)))
                                 : failure,
               true);
        settle();
        return nullptr;
    }
    QPointer<FormWidget>& view = views_[index];
    if (view && &view->form() == form && !view->closed()) {
        view->refresh();
        if (auto* sub = qobject_cast<QMdiSubWindow*>(view->parentWidget()))
            area_->setActiveSubWindow(sub);
        return view;
    }
    view = new FormWidget(*form);
    // Queued: the view may be deleted before the call arrives (its subwindow closed itself).
    connect(
        view, &FormWidget::formClosed, this,
        [this, v = QPointer<FormWidget>(view)] { calculatorClosed(v.data()); },
        Qt::QueuedConnection);
    connect(view, &FormWidget::actionFailed, this, [this](const QString& m) { report(m, true); });
    if (QMdiSubWindow* sub = windows_->place(form->windowHandle(), view)) {
        sub->setWindowTitle(view->windowTitle());
        connect(view, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
    }
    updateStatus();
    return view;
}

void MainWindow::calculatorClosed(FormWidget* view) {
    for (auto it = views_.begin(); it != views_.end();)
        it = it->second == view || !it->second ? views_.erase(it) : std::next(it);
    if (view) {
        QWidget* frame = view->parentWidget() ? view->parentWidget() : view;
        frame->close();
    }
    if (!closing_) settle();
    updateStatus();
}

void MainWindow::settle() {
    if (session_.unsaved()) {
        save();
        return;
    }
    if (views_.empty()) session_.rollback();
}

bool MainWindow::save() {
    if (!session_.document()) {
        report(QStringLiteral("Keine Rechnung geöffnet."), true);
        return false;
    }
    if (!session_.unsaved() && !session_.inTransaction()) {
        report(QStringLiteral("Nichts zu speichern."));
        return true;
    }
    try {
        session_.saveAndCommit();
    } catch (const host::HostError& e) {
        report(qt(e.what()), true);
        return false;
    }
    // Calculator windows still open keep writing into a transaction of their own.
    if (!views_.empty()) session_.beginTransaction();
    report(QStringLiteral("Rechnung gespeichert: ") + qt(session_.documentPath()));
    return true;
}

void MainWindow::chooseInvoice() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Rechnung öffnen"), QString(),
                                     QStringLiteral("Word-Dokumente (*.docx);;Alle Dateien (*)"));
    if (!path.isEmpty()) openInvoice(path);
}

void MainWindow::chooseDatabase() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Datenbank öffnen"), QString(),
        QStringLiteral("SQLite-Datenbanken (*.sqlite *.db *.sqlite3);;Alle Dateien (*)"));
    if (path.isEmpty() || !openDatabase(path, std::nullopt)) return;
    if (auto choice = askInvoiceRecord()) {
        try {
            session_.selectInvoice(*choice);
        } catch (const host::HostError& e) {
            report(qt(e.what()), true);
        }
    }
    updateStatus();
}

// The invoice record to edit, picked from the database's invoices; nullopt when cancelled.
std::optional<std::optional<int>> MainWindow::askInvoiceRecord() {
    QStringList items{QStringLiteral("(kein Rechnungsdatensatz)")};
    std::vector<int> ids;
    try {
        auto r = session_.database()->openRecordset(
            "SELECT ID_Rechnungsnummer, Rechnungsnummer FROM Rechnung ORDER BY 1");
        for (; !r->eof(); r->moveNext()) {
            ids.push_back(r->field("ID_Rechnungsnummer")->value().toLong());
            items << qt(r->field("Rechnungsnummer")->value().toString());
        }
    } catch (const Error& e) {
        report(qt(e.description()), true);
        return std::nullopt;
    }
    bool ok = false;
    const QString pick = QInputDialog::getItem(this, QStringLiteral("Rechnungsdatensatz"),
                                               QStringLiteral("Beträge speichern in:"), items,
                                               ids.empty() ? 0 : 1, false, &ok);
    if (!ok) return std::nullopt;
    const auto at = items.indexOf(pick);
    return at <= 0 ? std::optional<int>() : std::optional<int>(ids[std::size_t(at - 1)]);
}

void MainWindow::report(const QString& message, bool problem) {
    lastMessage_ = message;
    statusBar()->showMessage(message, problem ? 0 : 8000);
    if (problem && isVisible()) {
        auto* box =
            new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    updateStatus();
}

void MainWindow::updateStatus() {
    const auto name = [](const std::string& path) {
        return path.empty() ? QStringLiteral("–") : QFileInfo(qt(path)).fileName();
    };
    QString text = QStringLiteral("Rechnung: %1   Datenbank: %2")
                       .arg(name(session_.documentPath()), name(session_.databasePath()));
    if (session_.invoice()) text += QStringLiteral("   Datensatz: %1").arg(*session_.invoice());
    status_->setText(text);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (session_.unsaved()) {
        const auto answer = QMessageBox::question(
            this, windowTitle(),
            QStringLiteral("Die Rechnung enthält ungespeicherte Änderungen. Speichern?"),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !save())) {
            event->ignore();
            return;
        }
    }
    // Open calculator windows close as with their close button: nothing more is written.
    closing_ = true;
    for (auto& [index, view] : views_)
        if (view) view->requestClose();
    session_.rollback();
    event->accept();
}

}  // namespace tarvex::desktop
