#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

#include "form_widget.h"
#include "invoice_records.h"
#include "platform/error/error.h"
#include "platform/ui/form.h"
#include "platform/ui/user_actions.h"
#include "plugin/session/plattform.h"
#include "plugin/session/window_slots.h"
#include "preview_dock.h"
#include "qt_modal_driver.h"
#include "qt_window_manager.h"
#include "recent_files.h"
#include "screen_placement.h"

namespace tarvex::desktop {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

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
      status_(new QLabel(this)),
      preview_(new PreviewDock(this)) {
    setWindowTitle(QStringLiteral("TARVEX-Host"));
    setCentralWidget(area_);
    addDockWidget(Qt::RightDockWidgetArea, preview_);
    statusBar()->addPermanentWidget(status_);
    buildMenus();
    windows_ = std::make_shared<QtWindowManager>(kMdiClient, area_);
    plattform().windowManager = windows_;
    ui::setModalDriver(std::make_shared<QtModalDriver>(this));
    resize(1360, 860);
    resizeDocks({preview_}, {560}, Qt::Horizontal);
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

bool MainWindow::openInvoice(const QString& path) {
    try {
        session_.openDocument(path.toStdString());
    } catch (const host::HostError& e) {
        report(qt(e.what()), true);
        return false;
    }
    RecentFiles(*plattform().settings, QStringLiteral("Rechnung")).add(path);
    report(QStringLiteral("Rechnung geöffnet: ") + QFileInfo(path).fileName());
    preview_->showInvoice(path);
    return true;
}

bool MainWindow::openDatabase(const QString& path, std::optional<int> invoice) {
    try {
        session_.openDatabase(path.toStdString());
    } catch (const host::HostError& e) {
        report(qt(e.what()), true);
        return false;
    }
    invoiceNumber_.clear();
    RecentFiles(*plattform().settings, QStringLiteral("Datenbank")).add(path);
    report(QStringLiteral("Datenbank geöffnet: ") + QFileInfo(path).fileName());
    return !invoice || selectInvoice(invoice);
}

bool MainWindow::selectInvoice(std::optional<int> invoice) {
    QString number;
    try {
        session_.selectInvoice(invoice);
        if (invoice)
            for (const auto& record : host::listInvoices(*session_.database()))
                if (record.id == *invoice) number = qt(record.number);
    } catch (const host::HostError& e) {
        report(qt(e.what()), true);
        return false;
    } catch (const Error& e) {
        report(qt(e.description()), true);
        return false;
    }
    invoiceNumber_ = number;
    updateStatus();
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
    QWidget* frame = view;
    // The focus goes to the first input before the window shows: Qt would otherwise give it
    // to the first control of the chain and run that control's focus procedures.
    if (QMdiSubWindow* sub =
            windows_->place(form->windowHandle(), view, [view] { view->focusFirstInput(); })) {
        sub->setWindowTitle(view->windowTitle());
        connect(view, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
        area_->setActiveSubWindow(sub);
        frame = sub;
    }
    // The calculator forms keep no placement of their own; the host keeps it for them.
    new ScreenPlacement(frame, *form, plattform().settings);
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
    preview_->showInvoice(qt(session_.documentPath()));
    return true;
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

QString MainWindow::statusText() const {
    const auto name = [](const std::string& path) {
        return path.empty() ? QStringLiteral("–") : QFileInfo(qt(path)).fileName();
    };
    QString text = QStringLiteral("Rechnung: %1   Datenbank: %2")
                       .arg(name(session_.documentPath()), name(session_.databasePath()));
    if (session_.invoice())
        text += QStringLiteral("   Rechnungsnummer: %1")
                    .arg(invoiceNumber_.isEmpty() ? QString::number(*session_.invoice())
                                                  : invoiceNumber_);
    return text;
}

void MainWindow::updateStatus() { status_->setText(statusText()); }

bool MainWindow::mayDiscardInputs() {
    QStringList changed;
    for (const auto& [index, view] : views_)
        if (view && view->inputsChanged())
            changed << QStringLiteral("„%1“").arg(view->windowTitle());
    if (changed.isEmpty()) return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Eingaben verwerfen?"),
                    QStringLiteral("In %1 sind Eingaben geändert, aber nicht mit OK in die "
                                   "Rechnung geschrieben.\n\nEingaben verwerfen?")
                        .arg(changed.join(QStringLiteral(", "))),
                    QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Cancel);
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Eingaben &verwerfen"));
    return box.exec() == QMessageBox::Discard;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mayDiscardInputs()) {
        event->ignore();
        return;
    }
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
