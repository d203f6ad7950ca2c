// The Gebäudeaufnahme window in the desktop host: typed through its widgets (the description
// over two lines), OK, and the fee table and the amount in the invoice and the database.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
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

TEST(Gebaeudeaufnahme, TypedThroughTheWidgetsWrittenOnOkAndShownLegibly) {
    plattform().reset();
    testing::TempFolder folder;
    const auto invoice = testing::copyTemplate("template-basic.docx", folder.path());
    const auto database = testing::schemaDatabase(
        folder.path(),
        "INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz) VALUES (5, 190);"
        "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Mehrwertsteuersatz)"
        " VALUES (1, '2026-0815', 190);");
    MainWindow window(5);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(window.openInvoice(QString::fromStdString(invoice.string())));
    ASSERT_TRUE(window.openDatabase(QString::fromStdString(database.string()), 1));
    FormWidget* view = window.openFeeItem(1);
    ASSERT_NE(view, nullptr) << window.lastMessage().toStdString();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.mdiArea()->subWindowList().front()->windowTitle(),
              "Gebäudeaufnahme nach Nr. 30.4");

    auto* beschreibung = qobject_cast<QPlainTextEdit*>(view->widgetFor("txtGebäude"));
    ASSERT_NE(beschreibung, nullptr);
    beschreibung->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(beschreibung, "Wohnhaus");
    QTest::keyClick(beschreibung, Qt::Key_Return);
    QTest::keyClicks(beschreibung, "Garage");
    EXPECT_EQ(beschreibung->toPlainText(), "Wohnhaus\nGarage");
    for (const auto& [feld, text] : {std::pair{"mskAnzahl", "12"}, {"mskBaukosten", "300000"}}) {
        auto* edit = qobject_cast<QLineEdit*>(view->widgetFor(feld));
        ASSERT_NE(edit, nullptr) << feld;
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, text);
    }
    view->widgetFor("mskAnzahl")->setFocus(Qt::TabFocusReason);
    qobject_cast<QCheckBox*>(view->widgetFor("chkBereich"))->click();
    EXPECT_EQ(qobject_cast<QLineEdit*>(view->widgetFor("mskAnzahl30"))->text(), "   2");
    EXPECT_EQ(qobject_cast<QLabel*>(view->widgetFor("lblSumme"))->text(), "480,00");

    QDir().mkpath(TARVEX_SCREENSHOT_DIR);
    EXPECT_TRUE(window.mdiArea()->subWindowList().front()->grab().save(
        QStringLiteral(TARVEX_SCREENSHOT_DIR "/frmKat4.png")));

    qobject_cast<QPushButton*>(view->widgetFor("CommandEnde"))->click();
    QApplication::processEvents();
    EXPECT_TRUE(window.mdiArea()->subWindowList().empty());
    auto doc = word::Document::Open(invoice.string());
    const auto tabellen = testing::taggedTables(*doc, "TARVEX_4");
    ASSERT_EQ(tabellen.size(), 1u);
    EXPECT_EQ(ZelleEinlesen(tabellen[0], 4, 2), "Wohnhaus\rGarage");
    EXPECT_EQ(ZelleEinlesen(tabellen[0], 9, 2), "zwischen 100 T€ und 400 T€");
    EXPECT_EQ(testing::queryText(database,
                                 "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1"),
              "48000");
}

}  // namespace
}  // namespace tarvex::desktop
