// The keyboard on a rendered form: where the focus starts, Tab in reading order, Escape and
// Return on the buttons the form marks as OK and Abbruch, the arrow keys in an option group;
// and captions that the designed twips would cut at the screen font.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "desktop_support.h"
#include "form_widget.h"
#include "platform/ui/modal_driver.h"
#include "qt_modal_driver.h"

namespace tarvex::desktop {
namespace {

constexpr const char* kLong = "aktuelle Cursorposition als Abrechnungspunkt interpretieren";

void design(ui::Form& f) {
    f.setCaption("Tasten");
    f.setSize(7200, 3600);
    f.addFrame("fraArt", "Art", {240, 120, 2400, 1800});
    f.addOptionButton("optA", "erste", {360, 300, 2000, 255});
    f.addOptionButton("optB", "zweite", {360, 840, 2000, 255}).setEnabled(false);
    f.addOptionButton("optC", "dritte", {360, 1200, 2000, 255});
    f.addOptionButton("optLang", kLong, {360, 1560, 2000, 255});
    f.addMaskedField("mskEins", "####", {4200, 360, 660, 285});
    f.addMaskedField("mskZwei", "####", {4200, 840, 660, 285});
    f.addTextBox("txtDrei", {360, 2100, 2400, 285});
    f.addCommandButton("cmdOK", "&OK", {3000, 2880, 1260, 420}).setPicture("OK");
    f.addCommandButton("cmdAbbruch", "&Abbruch", {5400, 2880, 1260, 420}).setPicture("Abbruch");
}

class Keyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* button : {"cmdOK", "cmdAbbruch"})
            form.on(button, ui::Event::Click,
                    [this](ui::EventArgs& e) { clicks += e.control + ";"; });
        form.show();
        form.option("optA").setValue(true);
    }
    void TearDown() override { ui::setModalDriver(nullptr); }

    FormWidget& shown() {
        view = std::make_unique<FormWidget>(form);
        view->focusFirstInput();
        view->show();
        QApplication::setActiveWindow(view.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        return *view;
    }
    static QString focused() {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "";
    }
    static void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

    ui::Form form{"frmTasten", design};
    std::unique_ptr<FormWidget> view;
    std::string clicks;
};

TEST_F(Keyboard, FocusStartsInTheFirstFieldAndTabFollowsTheLayout) {
    shown();
    EXPECT_EQ(focused(), "mskEins") << "the first input field, not the option above it";
    EXPECT_EQ(form.activeControl(), form.find("mskEins"));
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        press(Qt::Key_Tab);
        order << focused();
    }
    // Top to bottom, then left to right; the disabled option is passed over.
    EXPECT_EQ(order.join(' '),
              "mskZwei optC optLang txtDrei cmdOK cmdAbbruch optA mskEins mskZwei");
}

TEST_F(Keyboard, EscapeIsAbbruchReturnPressesTheFocusedButton) {
    shown();
    QTest::keyClicks(QApplication::focusWidget(), "12");
    EXPECT_TRUE(view->inputsChanged());
    press(Qt::Key_Return);  // a field of a window that is no dialog: nothing
    EXPECT_EQ(clicks, "");
    press(Qt::Key_Escape);
    EXPECT_EQ(clicks, "cmdAbbruch;");
    ASSERT_TRUE(testing::tabTo("cmdOK"));
    press(Qt::Key_Return);
    EXPECT_EQ(clicks, "cmdAbbruch;cmdOK;");

    // Without an Abbruch button, Escape closes the window as its close button does.
    form.button("cmdAbbruch").setEnabled(false);
    view->refresh();
    press(Qt::Key_Escape);
    EXPECT_FALSE(form.isLoaded());
}

TEST_F(Keyboard, ArrowKeysChooseTheNextOfferedOptionAround) {
    shown();
    ASSERT_TRUE(testing::tabTo("optA"));
    EXPECT_FALSE(view->inputsChanged());
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), "optC");
    EXPECT_TRUE(form.option("optC").value());
    EXPECT_FALSE(form.option("optA").value());
    press(Qt::Key_Right);
    EXPECT_EQ(focused(), "optLang");
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), "optA");
    press(Qt::Key_Up);
    EXPECT_EQ(focused(), "optLang");
    EXPECT_TRUE(qobject_cast<QRadioButton*>(view->widgetFor("optLang"))->isChecked());
    EXPECT_TRUE(view->inputsChanged());
}

TEST_F(Keyboard, ReturnInADialogIsOkEscapeClosesItsForm) {
    form.on("cmdOK", ui::Event::Click, [this](ui::EventArgs&) {
        clicks += "cmdOK;";
        form.hide();
    });
    form.hide();
    ui::setModalDriver(std::make_shared<QtModalDriver>());
    QTimer::singleShot(0, [] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(QApplication::activeModalWidget()));
        EXPECT_EQ(focused(), "mskEins");
        press(Qt::Key_Return);
    });
    form.show(true);
    EXPECT_EQ(clicks, "cmdOK;");
    EXPECT_TRUE(form.isLoaded());
}

TEST_F(Keyboard, CaptionsTheTwipsWouldCutGetTheRoomTheyNeed) {
    view = std::make_unique<FormWidget>(form);
    QWidget* option = view->widgetFor("optLang");
    QWidget* frame = view->widgetFor("fraArt");
    EXPECT_GE(option->width(), option->sizeHint().width());
    EXPECT_GT(option->width(), 2000 / 15) << "wider than designed";
    EXPECT_TRUE(frame->geometry().contains(option->geometry())) << "the frame grew with it";
    EXPECT_TRUE(view->rect().contains(frame->geometry())) << "and the window with the frame";
    // Short captions keep their designed width.
    EXPECT_EQ(view->widgetFor("optA")->width(), qRound(2000 / 15.0));
}

}  // namespace
}  // namespace tarvex::desktop
