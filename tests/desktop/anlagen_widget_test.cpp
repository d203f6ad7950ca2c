// The Lang gestreckte Anlagen window in the desktop host: the worked example typed into the
// rendered widgets, OK, and the invoice and the invoice record checked; the window is saved as
// screenshots/frmKat3.png in the build folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "common/document_queries.h"
#include "common/host_database.h"
#include "form_widget.h"
#include "main_window.h"
#include "plugin/session/plattform.h"

namespace tarvex::desktop {
namespace {

TEST(AnlagenWidgets, WorkedExampleTypedIntoTheWidgetsIsWrittenAndCommitted) {
    plattform().reset();
    testing::TempFolder folder;
    const auto invoice = testing::copyTemplate("template-basic.docx", folder.path());
    const auto database = testing::schemaDatabase(
        folder.path(),
        "INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz) VALUES (5, 190);"
        "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Mehrwertsteuersatz)"
        " VALUES (1, '2026-0816', 190);");
    MainWindow window(5);
    window.resize(900, 800);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(window.openInvoice(QString::fromStdString(invoice.string())));
    ASSERT_TRUE(window.openDatabase(QString::fromStdString(database.string()), 1));
    FormWidget* view = window.openFeeItem(2);
    ASSERT_NE(view, nullptr) << window.lastMessage().toStdString();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* combo = qobject_cast<QComboBox*>(view->widgetFor("cmbKlassifizierung"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 0);

    for (const auto& [field, text] : {std::pair{"mskAusFlur", "2"},
                                      {"mskFlurstücke", "120"},
                                      {"mskGP", "10"},
                                      {"mskAGP", "8"}}) {
        auto* edit = qobject_cast<QLineEdit*>(view->widgetFor(field));
        ASSERT_NE(edit, nullptr) << field;
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, text);
    }
    view->widgetFor("grdAusFlur")->setFocus(Qt::TabFocusReason);
    const auto shown = [&](const char* name) {
        return qobject_cast<QLabel*>(view->widgetFor(name))->text().toStdString();
    };
    EXPECT_EQ(qobject_cast<QLineEdit*>(view->widgetFor("mskNeuFlur51"))->text(), "70  ");
    EXPECT_EQ(shown("lblZwischen"), "27.100,00");
    EXPECT_EQ(shown("lblSumme"), "40.650,00");

    QDir().mkpath(TARVEX_SCREENSHOT_DIR);
    EXPECT_TRUE(window.mdiArea()->subWindowList().front()->grab().save(
        QStringLiteral(TARVEX_SCREENSHOT_DIR "/frmKat3.png")));

    qobject_cast<QPushButton*>(view->widgetFor("CommandEnde"))->click();
    QApplication::processEvents();
    EXPECT_TRUE(window.mdiArea()->subWindowList().empty());
    EXPECT_EQ(testing::taggedTables(*word::Document::Open(invoice.string()), "TARVEX_3").size(),
              1u);
    EXPECT_EQ(testing::queryText(database,
                                 "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1"),
              "4065000");
}

}  // namespace
}  // namespace tarvex::desktop
