// The Zerlegung window in the desktop host: a worked example typed into the rendered widgets,
// a parcel list of two lines typed with Enter, the splinter box clicked, a screenshot of the
// filled window, then OK: the fee table in the saved invoice and the amount in the database.

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

void tippen(FormWidget& view, const std::string& feld, const char* text) {
    QWidget* w = view.widgetFor(feld);
    ASSERT_NE(w, nullptr) << feld;
    w->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(w, text);
}

void zeilenTippen(FormWidget& view, const std::string& liste, const QStringList& zeilen) {
    auto* edit = qobject_cast<QPlainTextEdit*>(view.widgetFor(liste));
    ASSERT_NE(edit, nullptr) << liste << " is no multi-line box";
    edit->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < zeilen.size(); ++i) {
        if (i > 0) QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, zeilen[i]);
    }
}

TEST(ZerlegungWidgets, WorkedExampleThroughTheWidgetsIsWrittenAndStored) {
    plattform().reset();
    testing::TempFolder folder;
    const auto invoice = testing::copyTemplate("template-basic.docx", folder.path());
    const auto database = testing::schemaDatabase(
        folder.path(),
        "INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz) VALUES (5, 190);"
        "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Mehrwertsteuersatz)"
        " VALUES (1, '2026-0815', 190);");
    MainWindow window(5);
    window.resize(1000, 820);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(window.openInvoice(QString::fromStdString(invoice.string())));
    ASSERT_TRUE(window.openDatabase(QString::fromStdString(database.string()), 1));
    FormWidget* view = window.openFeeItem(4);
    ASSERT_NE(view, nullptr) << window.lastMessage().toStdString();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.mdiArea()->subWindowList().front()->windowTitle(), "Zerlegung nach Nr. 30.1");

    // 3 source parcels, 51 formed, one first small parcel, 12 and 8 points, land value 50
    // (1,5), splinter reduction: subtotal 12.610,00, fee 12.610 × 1,5 × 0,7 = 13.240,50.
    tippen(*view, "mskAusFlur", "3");
    zeilenTippen(*view, "grdAusFlur", {"Flst. 12", "Flst. 13"});
    tippen(*view, "mskGesamt", "51");
    zeilenTippen(*view, "grdNeuFlur", {"Flst. 20/1 bis 20/51"});
    tippen(*view, "mskGesamt75", "1");
    zeilenTippen(*view, "txt_50", {"Flst. 20/7"});
    tippen(*view, "mskGP", "12");
    tippen(*view, "mskAGP", "8");
    tippen(*view, "mskBoden", "50");
    view->widgetFor("mskAusFlur")->setFocus(Qt::TabFocusReason);
    qobject_cast<QCheckBox*>(view->widgetFor("sevCheck1"))->click();

    auto label = [&](const char* name) {
        return qobject_cast<QLabel*>(view->widgetFor(name))->text().toStdString();
    };
    EXPECT_EQ(qobject_cast<QLineEdit*>(view->widgetFor("mskNeuFlur51"))->text(), "1   ");
    EXPECT_EQ(label("lblZwischen"), "12.610,00");
    EXPECT_EQ(label("lblSumme"), "13.240,50");
    EXPECT_FALSE(view->widgetFor("lblSplitter")->isHidden());

    QDir().mkpath(TARVEX_SCREENSHOT_DIR);
    EXPECT_TRUE(window.mdiArea()->subWindowList().front()->grab().save(
        QStringLiteral(TARVEX_SCREENSHOT_DIR "/frmKat1.png")));

    qobject_cast<QPushButton*>(view->widgetFor("CommandEnde"))->click();
    QApplication::processEvents();
    EXPECT_TRUE(window.mdiArea()->subWindowList().empty());
    EXPECT_EQ(testing::queryText(database,
                                 "SELECT NettoRechnung FROM Rechnung WHERE ID_Rechnungsnummer = 1"),
              "1324050");
    auto doc = word::Document::Open(invoice.string());
    const auto tables = testing::taggedTables(*doc, "TARVEX_1");
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(ZelleEinlesen(tables.front(), 4, 2), "Flst. 12\rFlst. 13");
    EXPECT_EQ(ZelleEinlesen(tables.front(), 11, 2), "Flst. 20/7");
    EXPECT_EQ(ZelleEinlesen(tables.front(), 25, 5), "13.240,50 €");
}

}  // namespace
}  // namespace tarvex::desktop
