#pragma once
// Lays an invoice out as a word processor does, in the background: LibreOffice converts a
// snapshot of the .docx to PDF without a window, with a user profile of its own that is thrown
// away afterwards (so that it never meets the user's running office suite or its settings).
// One conversion runs at a time; a newer request cancels the older one.

#include <QObject>
#include <QString>
#include <memory>

class QProcess;
class QTemporaryDir;
class QTimer;

namespace tarvex::desktop {

class PreviewRenderer : public QObject {
    Q_OBJECT
  public:
    explicit PreviewRenderer(QObject* parent = nullptr);
    ~PreviewRenderer() override;  // cancels a running conversion

    // The LibreOffice program: $TARVEX_SOFFICE when set (tests point it elsewhere), else
    // "soffice" or "libreoffice" on the PATH; "" when there is none.
    static QString officeProgram();

    // Starts converting a copy of `docx`. Emits started(), then finished() or failed(); a
    // conversion still running is cancelled first and reports nothing more.
    void render(const QString& docx);
    bool busy() const { return process_ != nullptr; }

  signals:
    void started();
    // `pdf` stays readable until the next conversion finishes or this object goes.
    void finished(const QString& pdf);
    void failed(const QString& message);

  private:
    void cancel();
    void done();

    QProcess* process_ = nullptr;
    QTimer* timeout_;
    std::unique_ptr<QTemporaryDir> running_;  // the snapshot, profile and output of process_
    std::unique_ptr<QTemporaryDir> shown_;    // where the last finished PDF lies
    QString pdf_;
};

}  // namespace tarvex::desktop
