// The Baulandumlegung window in the desktop host: the worked example typed and clicked into
// the rendered widgets, the reduction ticked, OK; the invoice holds the fee table and the
// database the net amount. A screenshot of the filled window goes to screenshots/frmKat2.png
// in the build folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/document_queries.h"
#include "common/host_database.h"
#include "document/fee_table.h"
#include "form_widget.h"
#include "main_window.h"
#include "platform/word/word.h"
#include "plugin/session/plattform.h"

namespace tarvex::desktop {
namespace {

class Kat2Fenster : public ::testing::Test {
  protected:
    void SetUp() override {
        plattform().reset();
        invoice = testing::copyTemplate("template-basic.docx", folder.path());
        database = testing::schemaDatabase(
            folder.path(),
            "INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz) VALUES (5, 190);"
            "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Mehrwertsteuersatz)"
            " VALUES (1, '2026-0815', 190);");
    }
    static void type(FormWidget& view, const std::string& field, const char* text) {
        QWidget* w = view.widgetFor(field);
        ASSERT_NE(w, nullptr) << field;
        w->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w, text);
    }
    static QString shown(FormWidget& view, const std::string& name) {
        if (auto* label = qobject_cast<QLabel*>(view.widgetFor(name))) return label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(view.widgetFor(name))) return edit->text();
        return "?";
    }

    testing::TempFolder folder;
    std::filesystem::path invoice;
    std::filesystem::path database;
};

TEST_F(Kat2Fenster, WorkedExampleThroughTheWidgetsIsWrittenAndCommitted) {
    MainWindow window(5);
    window.resize(1000, 800);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(window.openInvoice(QString::fromStdString(invoice.string())));
    ASSERT_TRUE(window.openDatabase(QString::fromStdString(database.string()), 1));
    FormWidget* view = window.openFeeItem(3);
    ASSERT_NE(view, nullptr) << window.lastMessage().toStdString();
    QMdiSubWindow* sub = window.mdiArea()->subWindowList().front();
    EXPECT_EQ(sub->windowTitle(), "Baulandumlegung nach Nr. 30.2");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    type(*view, "grdAusFlur", "Flst. 12");
    QTest::keyClick(view->widgetFor("grdAusFlur"), Qt::Key_Return);
    QTest::keyClicks(view->widgetFor("grdAusFlur"), "Flst. 13");
    type(*view, "mskAusFlur", "3");
    type(*view, "mskGesamt", "60");
    type(*view, "mskGP", "20");
    type(*view, "mskAGP", "12");
    type(*view, "mskBoden", "250");
    view->widgetFor("mskAusFlur")->setFocus(Qt::TabFocusReason);
    // Clicked on the circle: the button's middle may lie beyond its caption.
    QTest::mouseClick(qobject_cast<QRadioButton*>(view->widgetFor("sevOption2")), Qt::LeftButton,
                      {}, QPoint(6, 8));
    qobject_cast<QCheckBox*>(view->widgetFor("chkErmäßigung"))->click();
    EXPECT_EQ(shown(*view, "mskNeuFlur51"), "10  ");
    EXPECT_EQ(shown(*view, "lblZwischen"), "15.150,00");
    EXPECT_EQ(shown(*view, "lblFaktor"), "2,25");
    EXPECT_EQ(shown(*view, "lblDichtefaktor"), "3,0");
    EXPECT_EQ(shown(*view, "lblSumme"), "102.262,50");
    EXPECT_FALSE(qobject_cast<QRadioButton*>(view->widgetFor("sevOption1"))->isChecked());

    const QString folderName = QStringLiteral(TARVEX_SCREENSHOT_DIR);
    QDir().mkpath(folderName);
    EXPECT_TRUE(sub->grab().save(folderName + "/frmKat2.png"));

    qobject_cast<QPushButton*>(view->widgetFor("CommandEnde"))->click();
    QApplication::processEvents();
    EXPECT_TRUE(window.mdiArea()->subWindowList().empty());
    auto tables = testing::taggedTables(*word::Document::Open(invoice.string()), "TARVEX_2");
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].Rows().Count(), 31);
    EXPECT_EQ(ZelleEinlesen(tables[0], 4, 2), "Flst. 12\rFlst. 13");
    // The fee and the reduction enter the totals: 102.262,50 - 20.452,50.
    EXPECT_EQ(testing::queryText(database,
                                 "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1"),
              "8181000");
}

}  // namespace
}  // namespace tarvex::desktop
