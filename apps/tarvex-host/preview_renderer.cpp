#include "preview_renderer.h"

#include <signal.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

namespace tarvex::desktop {

namespace {

// A first start of LibreOffice with an empty profile on a busy machine takes a while.
constexpr int kPatienceMs = 180'000;

}  // namespace

PreviewRenderer::PreviewRenderer(QObject* parent) : QObject(parent), timeout_(new QTimer(this)) {
    timeout_->setSingleShot(true);
    timeout_->setInterval(kPatienceMs);
    connect(timeout_, &QTimer::timeout, this, [this] {
        cancel();
        emit failed(QStringLiteral("Die Vorschau hat zu lange gedauert und wurde abgebrochen."));
    });
}

PreviewRenderer::~PreviewRenderer() { cancel(); }

QString PreviewRenderer::officeProgram() {
    const QString chosen = qEnvironmentVariable("TARVEX_SOFFICE");
    if (!chosen.isEmpty()) return QFileInfo(chosen).isExecutable() ? chosen : QString();
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty()) return found;
    }
    return {};
}

void PreviewRenderer::render(const QString& docx) {
    cancel();
    const QString program = officeProgram();
    if (program.isEmpty()) {
        emit failed(QStringLiteral(
            "Keine Vorschau: LibreOffice ist nicht installiert (Programm „soffice“ nicht "
            "gefunden). Die Rechnung lässt sich trotzdem im Textverarbeitungsprogramm öffnen."));
        return;
    }
    auto work = std::make_unique<QTemporaryDir>();
    const QString snapshot = work->filePath(QStringLiteral("Rechnung.docx"));
    if (!work->isValid() || !QFile::copy(docx, snapshot)) {
        emit failed(QStringLiteral("Keine Vorschau: Die Rechnung %1 ist nicht lesbar.").arg(docx));
        return;
    }
    running_ = std::move(work);
    pdf_ = running_->filePath(QStringLiteral("Rechnung.pdf"));
    process_ = new QProcess(this);
    process_->setProgram(program);
    process_->setArguments(
        {QStringLiteral("-env:UserInstallation=") +
             QUrl::fromLocalFile(running_->filePath(QStringLiteral("profil"))).toString(),
         QStringLiteral("--headless"), QStringLiteral("--norestore"),
         QStringLiteral("--nolockcheck"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
         QStringLiteral("--outdir"), running_->path(), snapshot});
    process_->setProcessChannelMode(QProcess::MergedChannels);
    // Its own process group: LibreOffice starts helper processes that a cancel must end too.
    process_->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(process_, &QProcess::finished, this, &PreviewRenderer::done);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) done();
    });
    process_->start();
    timeout_->start();
    emit started();
}

void PreviewRenderer::done() {
    QProcess* process = process_;
    if (!process) return;
    process_ = nullptr;
    timeout_->stop();
    process->disconnect(this);
    process->deleteLater();
    const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0 &&
                    QFileInfo(pdf_).size() > 0;
    if (!ok) {
        const QString output = QString::fromLocal8Bit(process->readAll()).trimmed();
        running_.reset();
        emit failed(QStringLiteral("Die Vorschau konnte nicht erstellt werden%1")
                        .arg(output.isEmpty() ? QStringLiteral(".")
                                              : QStringLiteral(": ") + output.right(300)));
        return;
    }
    shown_ = std::move(running_);
    emit finished(pdf_);
}

void PreviewRenderer::cancel() {
    timeout_->stop();
    if (!process_) return;
    QProcess* process = process_;
    process_ = nullptr;
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        ::kill(-static_cast<pid_t>(process->processId()), SIGKILL);
        process->waitForFinished(5000);
    }
    delete process;
    running_.reset();
}

}  // namespace tarvex::desktop
