#include "screen_placement.h"

#include <QEvent>
#include <QWidget>

#include "form_layout.h"
#include "support/window_placement.h"

namespace tarvex::desktop {

ScreenPlacement::ScreenPlacement(QWidget* window, ui::Form& form,
                                 std::shared_ptr<SettingsStore> store)
    : QObject(window),
      window_(window),
      form_(form),
      generation_(form.generation()),
      name_(form.name()),
      store_(std::move(store)) {
    if (store_) GetWindowReg(form_, *store_);
    apply();
    window_->installEventFilter(this);
}

ScreenPlacement::~ScreenPlacement() { store(); }

void ScreenPlacement::store() {
    if (!store_) return;
    // The form has usually been unloaded by now (its OK or Abbruch ran): a stand-in of the same
    // name carries what the user last did to the window.
    ui::Form placement(name_, [](ui::Form&) {});
    placement.load();
    placement.setWindowState(state_);
    placement.setTop(static_cast<float>(normalPosition_.y() * kTwipsPerPixel));
    placement.setLeft(static_cast<float>(normalPosition_.x() * kTwipsPerPixel));
    SetWindowReg(placement, *store_);
}

void ScreenPlacement::apply() {
    state_ = form_.windowState();
    normalPosition_ =
        QPoint(qRound(form_.left() / kTwipsPerPixel), qRound(form_.top() / kTwipsPerPixel));
    window_->move(normalPosition_);
    switch (state_) {
        case ui::WindowState::Maximized:
            window_->setWindowState(Qt::WindowMaximized);
            break;
        case ui::WindowState::Minimized:
            window_->setWindowState(Qt::WindowMinimized);
            break;
        case ui::WindowState::Normal:
            break;
    }
}

void ScreenPlacement::follow() {
    const Qt::WindowStates s = window_->windowState();
    state_ = s & Qt::WindowMinimized   ? ui::WindowState::Minimized
             : s & Qt::WindowMaximized ? ui::WindowState::Maximized
                                       : ui::WindowState::Normal;
    if (state_ == ui::WindowState::Normal) normalPosition_ = window_->pos();
    if (!form_.isLoaded() || form_.generation() != generation_) return;
    form_.setWindowState(state_);
    if (state_ != ui::WindowState::Normal) return;
    form_.setTop(static_cast<float>(normalPosition_.y() * kTwipsPerPixel));
    form_.setLeft(static_cast<float>(normalPosition_.x() * kTwipsPerPixel));
}

bool ScreenPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return false;
    if (event->type() == QEvent::Move || event->type() == QEvent::WindowStateChange) follow();
    // Hidden by the program, not by the window system (minimising): the window was closed.
    if (event->type() == QEvent::Hide && !event->spontaneous()) store();
    return QObject::eventFilter(watched, event);
}

}  // namespace tarvex::desktop
