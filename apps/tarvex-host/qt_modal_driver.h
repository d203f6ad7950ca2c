#pragma once
// Modal display on the desktop: the form is rendered in a dialog that blocks the rest of the
// application, and a local event loop runs until the form is hidden or unloaded.

#include <QPointer>
#include <QWidget>

#include "platform/ui/modal_driver.h"

namespace tarvex::desktop {

class QtModalDriver final : public ui::ModalDriver {
  public:
    // Dialogs are centred on `owner` (may be null).
    explicit QtModalDriver(QWidget* owner = nullptr) : owner_(owner) {}
    // Returns at once when the form is not shown; the dialog's close button and Escape close
    // the form as its window's close button would.
    void runModal(ui::Form& form) override;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace tarvex::desktop
