#include "form_widget.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <iterator>
#include <vector>

#include "artwork.h"
#include "control_widgets.h"
#include "field_area.h"
#include "field_edit.h"
#include "form_layout.h"
#include "platform/ui/user_actions.h"

namespace tarvex::desktop {

namespace {

bool isContainer(ui::ControlKind kind) {
    return kind == ui::ControlKind::Frame || kind == ui::ControlKind::TabStrip;
}

// The width the widget's caption needs at its font; 0 for widgets whose text may be cut or
// wraps (fields, lists, tab strips, labels laid out for several lines).
int captionWidth(ui::ControlKind kind, QWidget* w) {
    switch (kind) {
        case ui::ControlKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            return label->wordWrap() ? 0 : label->sizeHint().width();
        }
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::OptionButton:
        case ui::ControlKind::CommandButton:
            return w->sizeHint().width();
        case ui::ControlKind::Frame:
            return w->minimumSizeHint().width();
        default:
            return 0;
    }
}

bool isTextField(ui::ControlKind kind) {
    return kind == ui::ControlKind::TextBox || kind == ui::ControlKind::MaskedField;
}

}  // namespace

FormWidget::FormWidget(ui::Form& form, QWidget* parent) : QWidget(parent), form_(form) {
    QFont small = font();
    small.setPointSizeF(8.0);
    setFont(small);
    build();
    refresh();
}

QWidget* FormWidget::widgetFor(const std::string& name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : it->second.widget;
}

QLabel* FormWidget::staticLabelFor(const std::string& name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : it->second.staticLabel;
}

void FormWidget::clear() {
    for (auto& [name, entry] : entries_) {
        // Deleted later: the widget whose signal started this action may be among them.
        for (QWidget* w : {entry.widget, static_cast<QWidget*>(entry.staticLabel)}) {
            if (!w) continue;
            w->hide();
            w->deleteLater();
        }
    }
    entries_.clear();
}

void FormWidget::build() {
    clear();
    builtGeneration_ = form_.generation();
    if (!form_.isLoaded()) return;
    setFixedSize(designSize());
    std::vector<QWidget*> containers;
    for (ui::Control* control : form_.controls()) {
        QWidget* w = create(*control);
        w->setObjectName(QString::fromStdString(control->name()));
        w->setGeometry(toPixels(control->rect()));
        // A label laid out for more than one line of text wraps instead of growing.
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setWordWrap(w->height() >= 2 * fontMetrics().height());
        Entry entry{w, nullptr};
        if (!control->staticLabel().empty()) {
            entry.staticLabel = new QLabel(QString::fromStdString(control->staticLabel()), this);
            entry.staticLabel->setTextFormat(Qt::PlainText);
            entry.staticLabel->setObjectName(w->objectName() + "_caption");
        }
        if (isContainer(control->kind())) containers.push_back(w);
        entries_[control->name()] = entry;
        w->show();
    }
    // Frames and tab strips sit behind the controls they group, the first created lowest.
    for (auto it = containers.rbegin(); it != containers.rend(); ++it) (*it)->lower();
    for (ui::Control* control : form_.controls())
        updateControlWidget(*control, widgetFor(control->name()));
    fitCaptions();
    placeStaticLabels();
    setTabOrder();
    builtInputs_ = inputState();
}

QSize FormWidget::designSize() const {
    return {std::max(1, form_.width() / kTwipsPerPixel),
            std::max(1, form_.height() / kTwipsPerPixel)};
}

void FormWidget::fitCaptions() {
    std::vector<CaptionFit> fits;
    std::vector<QWidget*> widgets;
    for (ui::Control* control : form_.controls()) {
        QWidget* w = widgetFor(control->name());
        if (!w) continue;
        fits.push_back({toPixels(control->rect()), captionWidth(control->kind(), w),
                        isContainer(control->kind())});
        widgets.push_back(w);
    }
    const QSize size = widenForCaptions(fits, designSize());
    for (std::size_t i = 0; i < widgets.size(); ++i)
        if (widgets[i]->geometry() != fits[i].rect) widgets[i]->setGeometry(fits[i].rect);
    if (this->size() != size) setFixedSize(size);
}

QWidget* FormWidget::create(ui::Control& control) {
    const std::string name = control.name();
    Actions actions;
    actions.click = [this, name] { forward([&] { ui::user::click(form_, name); }); };
    actions.choose = [this, name](int entry) {
        forward([&] { ui::user::chooseListEntry(form_, name, entry); });
    };
    actions.focusIn = [this, name] { forward([&] { ui::user::focus(form_, name); }); };
    actions.focusOut = [this, name] { forward([&] { ui::user::leave(form_, name); }); };
    actions.key = [this, name](int key) { forward([&] { ui::user::keyPress(form_, name, key); }); };
    actions.caretMoved = [this, name](int start, int length) {
        // Moving the caret fires no event procedure; the form only keeps the selection.
        if (busy_ || !form_.isLoaded()) return;
        if (auto* field = dynamic_cast<ui::TextControl*>(form_.find(name)))
            if (field->enabled()) {
                field->setSelStart(start);
                field->setSelLength(length);
            }
    };
    QWidget* w = createControlWidget(control, actions, this);
    // Text fields report focus themselves; other widgets are watched.
    if (!dynamic_cast<FieldEdit*>(w) && !dynamic_cast<FieldArea*>(w) &&
        w->focusPolicy() != Qt::NoFocus)
        watchFocus(w, name);
    return w;
}

void FormWidget::watchFocus(QWidget* widget, const std::string& name) {
    widget->setProperty("tarvexControl", QString::fromStdString(name));
    widget->installEventFilter(this);
}

bool FormWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && qobject_cast<QRadioButton*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Left || key == Qt::Key_Down ||
            key == Qt::Key_Right) {
            chooseNeighbourOption(watched->property("tarvexControl").toString().toStdString(),
                                  key == Qt::Key_Down || key == Qt::Key_Right);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const std::string name = watched->property("tarvexControl").toString().toStdString();
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (event->type() == QEvent::FocusIn)
            forward([&] { ui::user::focus(form_, name); });
        else if (userMovedFocus(reason))
            forward([&] { ui::user::leave(form_, name); });
    }
    return QWidget::eventFilter(watched, event);
}

void FormWidget::placeStaticLabels() {
    std::vector<QRect> taken;
    for (ui::Control* control : form_.controls())
        if (!isContainer(control->kind())) taken.push_back(widgetFor(control->name())->geometry());
    const QRect area = rect();
    for (ui::Control* control : form_.controls()) {
        QLabel* label = staticLabelFor(control->name());
        if (!label) continue;
        const QSize text = label->sizeHint();
        const QRect own = widgetFor(control->name())->geometry();
        std::vector<QRect> others;
        std::copy_if(taken.begin(), taken.end(), std::back_inserter(others),
                     [&](const QRect& r) { return r != own; });
        const QRect place = placeStaticLabel(own, text, area, others);
        label->setGeometry(place);
        label->setAlignment(place.bottom() < own.top() ? Qt::AlignLeft | Qt::AlignBottom
                                                       : Qt::AlignRight | Qt::AlignVCenter);
        label->show();
        taken.push_back(place);
    }
}

void FormWidget::setTabOrder() {
    // Reading order: top to bottom, then left to right.
    std::vector<std::pair<ui::Control*, QWidget*>> chain;
    for (ui::Control* control : form_.controls()) {
        QWidget* w = widgetFor(control->name());
        if (w && control->canTakeFocus()) chain.emplace_back(control, w);
    }
    std::stable_sort(chain.begin(), chain.end(), [](const auto& a, const auto& b) {
        const auto& ra = a.first->rect();
        const auto& rb = b.first->rect();
        return std::pair(ra.top, ra.left) < std::pair(rb.top, rb.left);
    });
    tabChain_.clear();
    for (const auto& [control, widget] : chain) tabChain_.push_back(widget);
    for (std::size_t i = 1; i < tabChain_.size(); ++i)
        QWidget::setTabOrder(tabChain_[i - 1], tabChain_[i]);
}

QWidget* FormWidget::buttonWithPicture(const std::string& picture) const {
    for (ui::Control* control : form_.controls()) {
        auto* button = dynamic_cast<ui::CommandButton*>(control);
        if (button && button->picture() == picture && button->enabled() && button->visible())
            return widgetFor(control->name());
    }
    return nullptr;
}

void FormWidget::focusFirstInput() {
    if (!form_.isLoaded()) return;
    const auto usable = [this](QWidget* w) {
        const ui::Control* c = form_.find(w->objectName().toStdString());
        return c && c->enabled() && c->visible();
    };
    QWidget* target = nullptr;
    for (QWidget* w : tabChain_)
        if (!target && usable(w) && isTextField(form_.find(w->objectName().toStdString())->kind()))
            target = w;
    for (QWidget* w : tabChain_)
        if (!target && usable(w)) target = w;
    // An option group is entered at its selected option.
    if (auto* first =
            target ? dynamic_cast<ui::OptionButton*>(form_.find(target->objectName().toStdString()))
                   : nullptr)
        for (QWidget* w : tabChain_) {
            auto* o = dynamic_cast<ui::OptionButton*>(form_.find(w->objectName().toStdString()));
            if (o && o->group() == first->group() && o->value() && usable(w)) target = w;
        }
    if (target) target->setFocus(Qt::TabFocusReason);
}

void FormWidget::chooseNeighbourOption(const std::string& option, bool next) {
    const auto* self = dynamic_cast<ui::OptionButton*>(form_.find(option));
    if (!self) return;
    std::vector<QWidget*> group;
    std::size_t at = 0;
    for (QWidget* w : tabChain_) {
        const auto* o = dynamic_cast<ui::OptionButton*>(form_.find(w->objectName().toStdString()));
        if (!o || o->group() != self->group()) continue;
        if (o == self)
            at = group.size();
        else if (!o->enabled() || !o->visible())
            continue;
        group.push_back(w);
    }
    if (group.size() < 2) return;
    auto* target =
        static_cast<QAbstractButton*>(group[(at + (next ? 1 : group.size() - 1)) % group.size()]);
    target->setFocus(Qt::TabFocusReason);
    target->click();
}

void FormWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            if (auto* cancel = qobject_cast<QAbstractButton*>(buttonWithPicture("Abbruch")))
                cancel->click();
            else
                requestClose();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Reached here from a button only when Qt's own default-button rules left it alone.
            if (auto* focused = qobject_cast<QPushButton*>(focusWidget())) {
                focused->click();
                return;
            }
            if (form_.modal())
                if (auto* ok = qobject_cast<QAbstractButton*>(buttonWithPicture("OK"))) {
                    ok->click();
                    return;
                }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

std::string FormWidget::inputState() const {
    std::string state;
    for (ui::Control* c : form_.controls()) {
        std::string value;
        if (auto* text = dynamic_cast<ui::TextControl*>(c))  // fields and list boxes
            value = text->text();
        else if (auto* check = dynamic_cast<ui::CheckBox*>(c))
            value = std::to_string(check->value());
        else if (auto* option = dynamic_cast<ui::OptionButton*>(c))
            value.push_back(option->value() ? '1' : '0');
        else
            continue;
        state.append(c->name()).append(1, '=').append(value).append(1, '\n');
    }
    return state;
}

bool FormWidget::inputsChanged() const {
    return !closed_ && form_.isLoaded() && form_.generation() == builtGeneration_ &&
           inputState() != builtInputs_;
}

void FormWidget::forward(const std::function<void()>& action) {
    if (busy_ || !form_.isLoaded()) return;
    busy_ = true;
    QString failure;
    try {
        action();
    } catch (const Error& e) {
        failure = QStringLiteral("Laufzeitfehler %1: %2")
                      .arg(e.number())
                      .arg(QString::fromStdString(e.description()));
    } catch (const std::exception& e) {
        failure = QString::fromStdString(e.what());
    }
    busy_ = false;
    refresh();
    if (!failure.isEmpty()) emit actionFailed(failure);
}

void FormWidget::refresh() {
    if (closed_) return;
    if (!form_.isLoaded() || !form_.visible()) {
        closed_ = true;
        emit formClosed();
        return;
    }
    // Setting widget state below may move Qt's focus; that is no user action.
    const bool wasBusy = busy_;
    busy_ = true;
    if (form_.generation() != builtGeneration_) build();
    setWindowTitle(QString::fromStdString(form_.caption()));
    setWindowIcon(imageFor(form_.icon()));
    if (form_.mousePointer() == ui::MousePointer::Hourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
    for (ui::Control* control : form_.controls()) {
        auto it = entries_.find(control->name());
        if (it != entries_.end()) update(*control, it->second);
    }
    fitCaptions();
    busy_ = wasBusy;
}

void FormWidget::update(ui::Control& control, const Entry& entry) {
    updateControlWidget(control, entry.widget);
    entry.widget->setEnabled(control.enabled());
    entry.widget->setHidden(!control.visible());
    if (entry.staticLabel) {
        entry.staticLabel->setEnabled(control.enabled());
        entry.staticLabel->setHidden(!control.visible());
    }
}

void FormWidget::requestClose() {
    if (closed_ || !form_.isLoaded()) return;
    forward([&] { ui::user::close(form_); });
}

void FormWidget::closeEvent(QCloseEvent* event) {
    requestClose();
    // The form decides: it is closed once it is unloaded or hidden.
    if (form_.isLoaded() && form_.visible())
        event->ignore();
    else
        event->accept();
}

}  // namespace tarvex::desktop
