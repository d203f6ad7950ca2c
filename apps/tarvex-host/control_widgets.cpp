#include "control_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

#include "artwork.h"
#include "field_area.h"
#include "platform/ui/text_control.h"

namespace tarvex::desktop {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QWidget* textField(const Actions& a, QWidget* parent) {
    return new FieldEdit({a.focusIn, a.focusOut, a.key, a.caretMoved}, parent);
}

QWidget* button(const Actions& a, QAbstractButton* b) {
    QObject::connect(b, &QAbstractButton::clicked, b, [click = a.click] {
        if (click) click();
    });
    return b;
}

}  // namespace

QWidget* createControlWidget(const ui::Control& control, const Actions& a, QWidget* parent) {
    switch (control.kind()) {
        case ui::ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            return label;
        }
        case ui::ControlKind::TextBox:
            if (static_cast<const ui::TextBox&>(control).multiLine())
                return new FieldArea({a.focusIn, a.focusOut, a.key, a.caretMoved}, parent);
            return textField(a, parent);
        case ui::ControlKind::MaskedField:
            return textField(a, parent);
        case ui::ControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            QObject::connect(combo, &QComboBox::activated, combo, [choose = a.choose](int i) {
                if (choose) choose(i);
            });
            return combo;
        }
        case ui::ControlKind::CheckBox:
            return button(a, new QCheckBox(parent));
        case ui::ControlKind::OptionButton: {
            auto* option = new QRadioButton(parent);
            // The form keeps its groups exclusive; Qt's own grouping would know only siblings.
            option->setAutoExclusive(false);
            return button(a, option);
        }
        case ui::ControlKind::CommandButton: {
            auto* b = new QPushButton(parent);
            b->setAutoDefault(false);
            return button(a, b);
        }
        case ui::ControlKind::Frame:
            return new QGroupBox(parent);
        case ui::ControlKind::TabStrip: {
            auto* tabs = new QTabWidget(parent);
            tabs->setFocusPolicy(Qt::NoFocus);
            // Tabs only group visually; the form has no user action for them.
            tabs->tabBar()->setAttribute(Qt::WA_TransparentForMouseEvents);
            // Forms place their first row close under the strip's top edge. A single tab only
            // repeats the window's caption and reads as a plain frame; several tabs sit at the
            // right end and leave the left part, where rows start, uncovered.
            tabs->setTabBarAutoHide(true);
            tabs->setStyleSheet(QStringLiteral("QTabWidget::tab-bar { alignment: right; }"));
            return tabs;
        }
    }
    return new QWidget(parent);
}

void updateControlWidget(const ui::Control& control, QWidget* widget) {
    const QSignalBlocker block(widget);
    switch (control.kind()) {
        case ui::ControlKind::Label:
            static_cast<QLabel*>(widget)->setText(
                qt(static_cast<const ui::Label&>(control).caption()));
            break;
        case ui::ControlKind::TextBox:
        case ui::ControlKind::MaskedField: {
            const auto& field = static_cast<const ui::TextControl&>(control);
            if (auto* area = qobject_cast<FieldArea*>(widget)) {
                area->showState(qt(field.text()), field.selStart(), field.selLength());
                break;
            }
            static_cast<FieldEdit*>(widget)->showState(qt(field.text()), field.selStart(),
                                                       field.selLength());
            break;
        }
        case ui::ControlKind::ComboBox: {
            const auto& box = static_cast<const ui::ComboBox&>(control);
            auto* combo = static_cast<QComboBox*>(widget);
            QStringList entries;
            for (const auto& e : box.entries()) entries << qt(e);
            QStringList shown;
            for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
            if (shown != entries) {
                combo->clear();
                combo->addItems(entries);
            }
            combo->setCurrentIndex(box.listIndex());
            // Text that is no entry of the list still shows, in the empty box.
            combo->setPlaceholderText(box.listIndex() < 0 ? qt(box.text()) : QString());
            break;
        }
        case ui::ControlKind::CheckBox: {
            const auto& box = static_cast<const ui::CheckBox&>(control);
            auto* check = static_cast<QCheckBox*>(widget);
            check->setText(qt(box.caption()));
            check->setChecked(box.value() == 1);
            break;
        }
        case ui::ControlKind::OptionButton: {
            const auto& option = static_cast<const ui::OptionButton&>(control);
            auto* radio = static_cast<QRadioButton*>(widget);
            radio->setText(qt(option.caption()));
            radio->setChecked(option.value());
            break;
        }
        case ui::ControlKind::CommandButton: {
            const auto& command = static_cast<const ui::CommandButton&>(control);
            auto* push = static_cast<QPushButton*>(widget);
            push->setText(qt(command.caption()));
            push->setIcon(imageFor(command.picture()));
            break;
        }
        case ui::ControlKind::Frame:
            static_cast<QGroupBox*>(widget)->setTitle(
                qt(static_cast<const ui::Frame&>(control).caption()));
            break;
        case ui::ControlKind::TabStrip: {
            const auto& strip = static_cast<const ui::TabStrip&>(control);
            auto* tabs = static_cast<QTabWidget*>(widget);
            if (tabs->count() != static_cast<int>(strip.tabs().size())) {
                tabs->clear();
                for (const auto& t : strip.tabs()) tabs->addTab(new QWidget, qt(t));
            }
            for (int i = 0; i < tabs->count(); ++i)
                tabs->setTabText(i, qt(strip.tabs()[static_cast<std::size_t>(i)]));
            tabs->setCurrentIndex(strip.selectedTab());
            break;
        }
    }
}

}  // namespace tarvex::desktop
