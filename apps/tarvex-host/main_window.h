#pragma once
// The desktop host's main window, standing in for the office application: an MDI area, the
// menus "Datei" (open invoice, open database, save) and "Gebühren" (the five fee items), and
// a status bar. A chosen fee item calls Show; the calculator window opens as an MDI child.
// When a calculator window closes with the invoice changed (OK wrote its table), the invoice
// is saved and only then are the database changes committed.

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <optional>

#include "host_session.h"

class QLabel;
class QMdiArea;

namespace tarvex::desktop {

class FormWidget;
class QtWindowManager;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // The handle of the MDI client as Show receives it.
    static constexpr WindowHandle kMdiClient = 0x100;

    // `user`: ID_Benutzer of the TempDoc record Show reads. Installs the window manager and
    // the modal driver for the plug-in's windows.
    explicit MainWindow(std::int32_t user = 1, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens the invoice (.docx). False when it cannot be used; the message is shown.
    bool openInvoice(const QString& path);
    // Opens the host database and chooses the invoice record (nullopt: none). False when it
    // cannot be used; the message is shown.
    bool openDatabase(const QString& path, std::optional<int> invoice);
    // Opens (or brings forward) the calculator window of Show's index 0..4; its view, or
    // nullptr when no window opened (the reason is shown).
    FormWidget* openFeeItem(int index);
    // Saves the invoice, then commits the database changes. False when either failed (the
    // message is shown; the changes stay pending for another attempt).
    bool save();

    QMdiArea* mdiArea() const { return area_; }
    host::HostSession& session() { return session_; }
    // The last message shown in the status bar or a message box.
    const QString& lastMessage() const { return lastMessage_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void chooseInvoice();
    void chooseDatabase();
    std::optional<std::optional<int>> askInvoiceRecord();
    // `view` is null when it was deleted meanwhile.
    void calculatorClosed(FormWidget* view);
    // Saves when the invoice changed, else ends an empty transaction once no window is open.
    void settle();
    void report(const QString& message, bool problem = false);
    void updateStatus();

    host::HostSession session_;
    std::int32_t user_;
    QMdiArea* area_;
    QLabel* status_;
    std::shared_ptr<QtWindowManager> windows_;
    std::map<int, QPointer<FormWidget>> views_;
    QString lastMessage_;
    bool closing_ = false;
};

}  // namespace tarvex::desktop
