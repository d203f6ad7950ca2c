#include "preview_dock.h"

#include <QLabel>
#include <QPdfDocument>
#include <QPdfView>
#include <QProgressBar>
#include <QVBoxLayout>

#include "preview_renderer.h"

namespace tarvex::desktop {

PreviewDock::PreviewDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Vorschau"), parent),
      renderer_(new PreviewRenderer(this)),
      document_(new QPdfDocument(this)),
      view_(new QPdfView),
      message_(new QLabel),
      busy_(new QProgressBar) {
    setObjectName(QStringLiteral("Vorschau"));
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    busy_->setRange(0, 0);  // no known end: a moving bar
    busy_->setTextVisible(false);
    busy_->setMaximumHeight(8);
    view_->setDocument(document_);
    view_->setPageMode(QPdfView::PageMode::MultiPage);
    view_->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    layout->addWidget(message_);
    layout->addWidget(busy_);
    layout->addWidget(view_, 1);
    setWidget(body);

    connect(renderer_, &PreviewRenderer::started, this,
            [this] { setMessage(QStringLiteral("Vorschau wird erstellt …"), true); });
    connect(renderer_, &PreviewRenderer::finished, this, [this](const QString& pdf) {
        if (document_->load(pdf) != QPdfDocument::Error::None) {
            const QString text = QStringLiteral("Die Vorschau ist nicht lesbar.");
            setMessage(text, false);
            emit failed(text);
            return;
        }
        setMessage(QString(), false);
        emit shown();
    });
    connect(renderer_, &PreviewRenderer::failed, this, [this](const QString& text) {
        setMessage(text, false);
        emit failed(text);
    });
    clear(QStringLiteral("Noch keine Rechnung geöffnet."));
}

void PreviewDock::showInvoice(const QString& docx) { renderer_->render(docx); }

void PreviewDock::clear(const QString& message) {
    document_->close();
    setMessage(message, false);
}

bool PreviewDock::busy() const { return renderer_->busy(); }

QString PreviewDock::message() const { return message_->text(); }

void PreviewDock::setMessage(const QString& text, bool busy) {
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
    busy_->setVisible(busy);
}

}  // namespace tarvex::desktop
