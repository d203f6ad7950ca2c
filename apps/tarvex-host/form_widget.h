#pragma once
// The generic renderer: one QWidget showing any form of the form model, built from its
// controls and their layout (one Qt widget per control, plus a label for each static caption).
// What the user does is forwarded only through the ui::user calls; after every forwarded
// action all widgets are refreshed from the form, so the widgets never hold state of their own.

#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "platform/ui/form.h"

class QLabel;

namespace tarvex::desktop {

class FormWidget : public QWidget {
    Q_OBJECT
  public:
    // Renders `form`, which must stay alive as long as the widget (it may unload meanwhile).
    explicit FormWidget(ui::Form& form, QWidget* parent = nullptr);

    ui::Form& form() const { return form_; }
    // The widget rendering control `name` (also its objectName), or nullptr.
    QWidget* widgetFor(const std::string& name) const;
    // The label showing the control's static caption, or nullptr when it has none.
    QLabel* staticLabelFor(const std::string& name) const;
    // Brings every widget up to the form's state; rebuilds them when the form was reloaded.
    // Emits formClosed once the form is hidden or unloaded.
    void refresh();
    // The window's close button: forwards ui::user::close when the form is still open.
    void requestClose();
    // Whether the form is gone (hidden or unloaded) since it was rendered.
    bool closed() const { return closed_; }

  signals:
    void formClosed();
    // An event procedure raised an error the form did not trap ("Laufzeitfehler 13: ...").
    void actionFailed(const QString& message);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Entry {
        QWidget* widget = nullptr;
        QLabel* staticLabel = nullptr;
    };

    void build();
    void clear();
    QWidget* create(ui::Control& control);
    void placeStaticLabels();
    void setTabOrder();
    void update(ui::Control& control, const Entry& entry);
    // Runs a user action unless one is running already, reports its error, then refreshes.
    void forward(const std::function<void()>& action);
    void watchFocus(QWidget* widget, const std::string& name);

    ui::Form& form_;
    std::map<std::string, Entry> entries_;
    unsigned builtGeneration_ = 0;
    bool busy_ = false;
    bool closed_ = false;
};

}  // namespace tarvex::desktop
