// The generic renderer and the modal driver on a form made for the test: widgets built from
// the controls, typing and clicking forwarded to the form, state shown back.

#include "form_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "platform/ui/modal_driver.h"
#include "qt_modal_driver.h"

namespace tarvex::desktop {
namespace {

void design(ui::Form& f) {
    f.setCaption("Testfenster");
    f.setSize(7200, 3600);
    f.addTabStrip("sevTab", {"Seite"}, {60, 60, 7080, 3480});
    f.addFrame("fraArt", "Art", {240, 240, 2400, 1200});
    f.addOptionButton("optNr(0)", "erste", {360, 480, 2000, 255}, "Art");
    f.addOptionButton("optNr(1)", "zweite", {360, 840, 2000, 255}, "Art");
    f.addMaskedField("mskAnzahl", "####", {4200, 360, 660, 285}).setStaticLabel("Anzahl");
    f.addTextBox("txtName", {4200, 840, 2400, 285});
    f.addLabel("lblSumme", "0,00", {4200, 1320, 1200, 255}).setStaticLabel("Summe");
    f.addComboBox("cmbKlasse", {"Acker", "Bauland"}, {360, 1800, 2400, 315});
    f.addCheckBox("chkBereich", "Bereich", {360, 2400, 2000, 285}).setEnabled(false);
    f.addCommandButton("cmdEnde", "&OK", {5400, 2880, 1260, 420});
}

class FormWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.on("mskAnzahl", ui::Event::LostFocus, [this](ui::EventArgs&) {
            const std::string clip = form.masked("mskAnzahl").clipText();
            form.label("lblSumme").setCaption(std::to_string(95 * std::stoi("0" + clip)) + ",00");
        });
        form.on("cmdEnde", ui::Event::Click, [this](ui::EventArgs&) { form.hide(); });
        form.option("optNr(0)").setValue(true);
        form.show();
    }
    void TearDown() override { ui::setModalDriver(nullptr); }

    // The view shown in an active window, so that focus moves as with a user.
    FormWidget& shown() {
        view = std::make_unique<FormWidget>(form);
        view->show();
        QApplication::setActiveWindow(view.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        return *view;
    }
    template <class T>
    T* widget(const std::string& name) {
        return qobject_cast<T*>(view->widgetFor(name));
    }

    ui::Form form{"frmTest", design};
    std::unique_ptr<FormWidget> view;
};

TEST_F(FormWidgetTest, WidgetsShowTheFormsStateAndStaticCaptions) {
    view = std::make_unique<FormWidget>(form);
    EXPECT_TRUE(view->widgetFor("sevTab")->inherits("QTabWidget"));
    EXPECT_TRUE(view->widgetFor("fraArt")->inherits("QGroupBox"));
    EXPECT_EQ(widget<QLineEdit>("mskAnzahl")->text(), "    ");
    EXPECT_EQ(widget<QLabel>("lblSumme")->text(), "0,00");
    EXPECT_TRUE(widget<QRadioButton>("optNr(0)")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("optNr(1)")->isChecked());
    EXPECT_EQ(widget<QComboBox>("cmbKlasse")->count(), 2);
    EXPECT_FALSE(widget<QCheckBox>("chkBereich")->isEnabled());
    // 15 twips are one pixel; the static caption sits left of its field.
    EXPECT_EQ(view->widgetFor("mskAnzahl")->geometry(), QRect(280, 24, 44, 19));
    QLabel* caption = view->staticLabelFor("mskAnzahl");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), "Anzahl");
    EXPECT_LT(caption->geometry().right(), 280);
    EXPECT_EQ(view->staticLabelFor("txtName"), nullptr);
}

TEST_F(FormWidgetTest, TypedKeysGoThroughTheFormAndLeavingRecomputes) {
    shown();
    auto* field = widget<QLineEdit>("mskAnzahl");
    field->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(form.activeControl(), form.find("mskAnzahl"));
    QTest::keyClicks(field, "12x");  // the mask refuses the letter
    EXPECT_EQ(form.masked("mskAnzahl").text(), "12  ");
    EXPECT_EQ(field->text(), "12  ");
    EXPECT_EQ(field->cursorPosition(), 2);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, '3');
    EXPECT_EQ(field->text(), "13  ");

    // Qt must not change the text on its own: paste and Delete are no user action of the form.
    QApplication::clipboard()->setText("99");
    QTest::keySequence(field, QKeySequence::Paste);
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(form.masked("mskAnzahl").text(), "13  ");
    EXPECT_EQ(field->text(), "13  ");
    EXPECT_EQ(form.masked("mskAnzahl").selStart(), 0);  // Home moved the form's caret

    EXPECT_EQ(widget<QLabel>("lblSumme")->text(), "0,00");
    widget<QLineEdit>("txtName")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(form.label("lblSumme").caption(), "1235,00");
    EXPECT_EQ(widget<QLabel>("lblSumme")->text(), "1235,00");
}

TEST_F(FormWidgetTest, ClicksAndListChoicesSelectInTheForm) {
    shown();
    // Clicked on its circle: the button's middle may lie beyond its short caption.
    const QPoint circle(6, 8);
    QTest::mouseClick(widget<QRadioButton>("optNr(1)"), Qt::LeftButton, {}, circle);
    EXPECT_TRUE(form.option("optNr(1)").value());
    EXPECT_FALSE(form.option("optNr(0)").value());
    EXPECT_FALSE(widget<QRadioButton>("optNr(0)")->isChecked());
    // Clicking the selected button again leaves it selected, as the form says.
    QTest::mouseClick(widget<QRadioButton>("optNr(1)"), Qt::LeftButton, {}, circle);
    EXPECT_TRUE(widget<QRadioButton>("optNr(1)")->isChecked());

    // A disabled check box ignores the click in the form as on the screen.
    widget<QCheckBox>("chkBereich")->click();
    EXPECT_EQ(form.checkBox("chkBereich").value(), 0);

    emit widget<QComboBox>("cmbKlasse")->activated(1);
    EXPECT_EQ(form.combo("cmbKlasse").listIndex(), 1);
    EXPECT_EQ(form.combo("cmbKlasse").text(), "Bauland");
    EXPECT_EQ(widget<QComboBox>("cmbKlasse")->currentIndex(), 1);
}

TEST_F(FormWidgetTest, ModalDriverReturnsWhenTheFormHidesOrIsClosed) {
    form.hide();
    ui::setModalDriver(std::make_shared<QtModalDriver>());
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>("cmdEnde")->click();
    });
    form.show(true);
    EXPECT_TRUE(form.isLoaded());
    EXPECT_FALSE(form.visible());

    // The dialog's close button closes the form as the window's close button does.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    form.show(true);
    EXPECT_FALSE(form.isLoaded());
}

}  // namespace
}  // namespace tarvex::desktop
