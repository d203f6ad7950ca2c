#pragma once
// Where a rendered form's window sits on screen, kept in the form's window properties: the
// window takes the form's state and position (twips; an MDI child's position counts from the
// MDI area) when it is followed, and every move, maximise or restore by the user is handed back
// to the form while it stays loaded. The stored placement procedures (GetWindowReg,
// SetWindowReg) read and write those properties, so the settings file holds where the user
// really left the window.

#include <QObject>
#include <QPoint>
#include <memory>
#include <string>

#include "platform/settings/settings_store.h"
#include "platform/ui/form.h"

class QWidget;

namespace tarvex::desktop {

class ScreenPlacement : public QObject {
    Q_OBJECT
  public:
    // Follows `window`, which shows `form` (loaded). With `store`, the placement is restored
    // from it now (GetWindowReg) and stored into it (SetWindowReg) when the window is closed or
    // destroyed — for windows whose form does not do so itself; without, the form's current
    // properties apply.
    // The object is a child of `window` and goes with it.
    ScreenPlacement(QWidget* window, ui::Form& form, std::shared_ptr<SettingsStore> store = {});
    ~ScreenPlacement() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void apply();
    void follow();
    // Stores through SetWindowReg when a store was given.
    void store();

    QWidget* window_;
    ui::Form& form_;
    unsigned generation_;
    std::string name_;
    std::shared_ptr<SettingsStore> store_;
    ui::WindowState state_ = ui::WindowState::Normal;
    QPoint normalPosition_;
};

}  // namespace tarvex::desktop
