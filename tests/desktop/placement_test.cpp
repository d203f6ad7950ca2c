// Windows reopen where the user left them: the calculator windows (kept by the host) and the
// table selection dialog (kept by its own load and unload procedures) take their stored
// position and state, and hand the user's moves back, so the settings file holds them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "common/host_database.h"
#include "document/tabellenwahl.h"
#include "form_widget.h"
#include "main_window.h"
#include "platform/settings/qt_settings_store.h"
#include "platform/ui/modal_driver.h"
#include "plugin/session/plattform.h"
#include "qt_modal_driver.h"

namespace tarvex::desktop {
namespace {

class Placement : public ::testing::Test {
  protected:
    void SetUp() override {
        plattform().reset();
        plattform().settings = makeQtSettingsStore(folder.path().string());
    }
    void TearDown() override {
        resetTabellenwahl();
        ui::setModalDriver(nullptr);
        plattform().reset();
    }
    // "State Left Top" of the window's section in the settings file.
    QString stored(const char* window) {
        QSettings ini(QString::fromStdString((folder.path() / "Lumora" / "Lumora.ini").string()),
                      QSettings::IniFormat);
        ini.beginGroup(window);
        return QStringList{ini.value("State").toString(), ini.value("Left").toString(),
                           ini.value("Top").toString()}
            .join(' ');
    }

    testing::TempFolder folder;
};

TEST_F(Placement, CalculatorWindowReopensWhereAndHowItWasLeft) {
    const auto invoice = testing::copyTemplate("template-basic.docx", folder.path());
    const auto database = testing::schemaDatabase(
        folder.path(), "INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz) VALUES (5, 190);");
    MainWindow window(5);
    window.show();
    ASSERT_TRUE(window.openInvoice(QString::fromStdString(invoice.string())));
    ASSERT_TRUE(window.openDatabase(QString::fromStdString(database.string()), std::nullopt));
    const auto open = [&]() -> QMdiSubWindow* {
        if (!window.openFeeItem(0) || window.mdiArea()->subWindowList().size() != 1) return nullptr;
        return window.mdiArea()->subWindowList().front();
    };
    const auto cancel = [&](QMdiSubWindow* sub) {
        QTest::keyClick(qobject_cast<FormWidget*>(sub->widget()), Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_TRUE(window.mdiArea()->subWindowList().empty());
    };

    QMdiSubWindow* sub = open();
    ASSERT_NE(sub, nullptr);
    sub->move(137, 61);
    cancel(sub);
    EXPECT_EQ(stored("frmKat5"), "0 2055 915");  // twips: 15 per pixel

    sub = open();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->pos(), QPoint(137, 61));
    sub->showMaximized();
    cancel(sub);
    EXPECT_EQ(stored("frmKat5"), "2 2055 915") << "maximised keeps the last normal position";

    sub = open();
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->isMaximized());
    sub->showNormal();
    sub->move(20, 30);
    cancel(sub);
    EXPECT_EQ(stored("frmKat5"), "0 300 450");
}

TEST_F(Placement, TableDialogFollowsItsFormsStoredPlacement) {
    ui::setModalDriver(std::make_shared<QtModalDriver>());
    ui::Form& dialog = G_frmTabelle();
    QTimer::singleShot(0, [] {
        QWidget* shown = QApplication::activeModalWidget();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->pos(), QPoint(0, 0)) << "nothing stored: the top-left corner";
        shown->move(222, 111);
        shown->close();  // the close button unloads the dialog, which stores its placement
    });
    dialog.show(true);
    EXPECT_FALSE(dialog.isLoaded());
    EXPECT_EQ(stored("G_frmTabelle"), "0 3330 1665");

    QPoint reopened;
    QTimer::singleShot(0, [&reopened] {
        QWidget* shown = QApplication::activeModalWidget();
        ASSERT_NE(shown, nullptr);
        reopened = shown->pos();
        QTest::keyClick(shown->findChild<QWidget*>("cmdEnde"), Qt::Key_Return);
    });
    dialog.show(true);
    EXPECT_EQ(reopened, QPoint(222, 111));
    EXPECT_TRUE(dialog.isLoaded()) << "OK only hides the dialog";
}

}  // namespace
}  // namespace tarvex::desktop
