#pragma once
// The desktop host's main window, standing in for the office application: an MDI area, the
// menus "Datei" (open invoice and database, choose the invoice record, recent files, open in
// the word processor, save), "Gebühren" (the five fee items) and "Ansicht", the dock
// "Vorschau" with the invoice's pages, and a status bar naming the invoice, the database and
// the invoice number. A chosen fee item calls Show; the calculator window opens as an MDI
// child where the user left it last. When a calculator window closes with the invoice changed
// (OK wrote its table), the invoice is saved, only then are the database changes committed,
// and the preview is rendered anew.

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <optional>

#include "host_session.h"

class QLabel;
class QMdiArea;
class QMenu;

namespace tarvex::desktop {

class FormWidget;
class PreviewDock;
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

    // Opens the invoice (.docx) and renders its preview. False when it cannot be used; the
    // message, with its reason, is shown.
    bool openInvoice(const QString& path);
    // Opens the host database and chooses the invoice record (nullopt: none). False when it
    // cannot be used; the message is shown.
    bool openDatabase(const QString& path, std::optional<int> invoice);
    // Chooses the invoice record GO receives; the status bar names its number. False (message
    // shown) without a database or for an unknown record.
    bool selectInvoice(std::optional<int> invoice);
    // "Rechnung wählen…": lets the user pick the record from the database's invoices. False
    // when cancelled or nothing could be listed.
    bool chooseInvoiceRecord();
    // Opens (or brings forward) the calculator window of Show's index 0..4, with the focus on
    // its first input; its view, or nullptr when no window opened (the reason is shown).
    FormWidget* openFeeItem(int index);
    // Saves the invoice, then commits the database changes and renders the preview. False
    // when either failed (the message is shown; the changes stay pending for another try).
    bool save();

    QMdiArea* mdiArea() const { return area_; }
    PreviewDock* preview() const { return preview_; }
    host::HostSession& session() { return session_; }
    // The last message shown in the status bar or a message box.
    const QString& lastMessage() const { return lastMessage_; }
    // The permanent part of the status bar: invoice, database, invoice number.
    QString statusText() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void fillRecentMenu();
    void chooseInvoiceFile();
    void chooseDatabaseFile();
    void openInWordProcessor();
    // The folder file dialogs start in: the invoice's, else the database's, else the last one.
    QString startFolder() const;
    // `view` is null when it was deleted meanwhile.
    void calculatorClosed(FormWidget* view);
    // Saves when the invoice changed, else ends an empty transaction once no window is open.
    void settle();
    // Asks "Eingaben verwerfen?" when an open calculator holds changed inputs; true to go on.
    bool mayDiscardInputs();
    void report(const QString& message, bool problem = false);
    void updateStatus();

    host::HostSession session_;
    std::int32_t user_;
    QMdiArea* area_;
    QLabel* status_;
    PreviewDock* preview_;
    QMenu* recentMenu_ = nullptr;
    std::shared_ptr<QtWindowManager> windows_;
    std::map<int, QPointer<FormWidget>> views_;
    QString invoiceNumber_;
    QString lastMessage_;
    bool closing_ = false;
};

}  // namespace tarvex::desktop
