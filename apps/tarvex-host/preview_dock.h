#pragma once
// The dock "Vorschau": the invoice's pages as a word processor lays them out, rendered in the
// background (PreviewRenderer) and shown with Qt's PDF view. While a rendering runs, a busy bar
// and a line say so; when none can be made, the line says why. The window stays usable.

#include <QDockWidget>

class QLabel;
class QPdfDocument;
class QPdfView;
class QProgressBar;

namespace tarvex::desktop {

class PreviewRenderer;

class PreviewDock : public QDockWidget {
    Q_OBJECT
  public:
    explicit PreviewDock(QWidget* parent = nullptr);

    // Renders the invoice anew; an older rendering still running is dropped.
    void showInvoice(const QString& docx);
    // Shows `message` instead of pages (no invoice, for example).
    void clear(const QString& message);

    bool busy() const;
    // The line above the pages: what is going on or went wrong; "" while pages show.
    QString message() const;
    QPdfDocument* document() const { return document_; }

  signals:
    // The pages of the latest rendering show.
    void shown();
    void failed(const QString& message);

  private:
    void setMessage(const QString& text, bool busy);

    PreviewRenderer* renderer_;
    QPdfDocument* document_;
    QPdfView* view_;
    QLabel* message_;
    QProgressBar* busy_;
};

}  // namespace tarvex::desktop
