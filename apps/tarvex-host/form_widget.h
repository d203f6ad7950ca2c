#pragma once
// The generic renderer: one QWidget showing any form of the form model, built from its
// controls and their layout (one Qt widget per control, plus a label for each static caption).
// What the user does is forwarded only through the ui::user calls; after every forwarded
// action all widgets are refreshed from the form, so the widgets never hold state of their own.
//
// Keyboard: Tab follows the layout (top to bottom, then left to right); Escape presses the
// button showing the image "Abbruch", or closes the window when there is none; Return presses
// the focused button and, in a modal form, the button showing the image "OK"; the arrow keys
// on an option button choose the next or previous option of its group.

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

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
    // Puts the keyboard focus where a user starts: the first enabled text field in tab order,
    // else the first control that takes the focus (for an option button, the selected one of
    // its group). Call before the window is shown, so that Qt does not first give the focus
    // to the first control of the chain (which would run its focus procedures).
    void focusFirstInput();
    // Whether the user changed an input (text, option, check box, list choice) since the form
    // was rendered or last reloaded.
    bool inputsChanged() const;

  signals:
    void formClosed();
    // An event procedure raised an error the form did not trap ("Laufzeitfehler 13: ...").
    void actionFailed(const QString& message);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Entry {
        QWidget* widget = nullptr;
        QLabel* staticLabel = nullptr;
    };

    void build();
    void clear();
    QWidget* create(ui::Control& control);
    QSize designSize() const;
    // Widens controls whose captions the designed twips would cut (see widenForCaptions).
    void fitCaptions();
    void placeStaticLabels();
    void setTabOrder();
    // The enabled, visible command button showing `picture`, or nullptr.
    QWidget* buttonWithPicture(const std::string& picture) const;
    // Moves focus and choice to the next (or previous) option of the group of `option`.
    void chooseNeighbourOption(const std::string& option, bool next);
    std::string inputState() const;
    void update(ui::Control& control, const Entry& entry);
    // Runs a user action unless one is running already, reports its error, then refreshes.
    void forward(const std::function<void()>& action);
    void watchFocus(QWidget* widget, const std::string& name);

    ui::Form& form_;
    std::map<std::string, Entry> entries_;
    std::vector<QWidget*> tabChain_;
    std::string builtInputs_;
    unsigned builtGeneration_ = 0;
    bool busy_ = false;
    bool closed_ = false;
};

}  // namespace tarvex::desktop
