#include "qt_modal_driver.h"

#include <QDialog>
#include <QEventLoop>
#include <QVBoxLayout>

#include "form_widget.h"
#include "platform/ui/form.h"
#include "screen_placement.h"

namespace tarvex::desktop {

namespace {

// The title bar's close button goes to the form instead of closing the dialog (Escape reaches
// the rendered form first, which treats it as Abbruch).
class FormDialog final : public QDialog {
  public:
    FormDialog(ui::Form& form, QWidget* owner) : QDialog(owner), view_(new FormWidget(form, this)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view_);
        setWindowTitle(view_->windowTitle());
        setModal(true);
    }
    FormWidget* view() const { return view_; }
    void reject() override { view_->requestClose(); }

  private:
    FormWidget* view_;
};

}  // namespace

void QtModalDriver::runModal(ui::Form& form) {
    if (!form.isLoaded() || !form.visible()) return;
    FormDialog dialog(form, owner_.data());
    QEventLoop loop;
    QObject::connect(dialog.view(), &FormWidget::formClosed, &loop, &QEventLoop::quit);
    QObject::connect(dialog.view(), &FormWidget::windowTitleChanged, &dialog,
                     &QWidget::setWindowTitle);
    // The dialog's form restores and stores its own placement; the window follows it.
    new ScreenPlacement(&dialog, form);
    dialog.view()->focusFirstInput();
    dialog.show();
    // The form may have gone while the dialog was being shown (a procedure on focus).
    if (!dialog.view()->closed()) loop.exec();
    dialog.hide();
}

}  // namespace tarvex::desktop
