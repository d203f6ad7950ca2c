// The desktop host end to end: a copy of the basic invoice template and a database made from
// schema.sql, fee item 30.6 from the menu's call, values typed into the rendered window, OK,
// and the invoice saved with its fee table and the amounts committed, then shown in the
// preview.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPdfDocument>
#include <QPdfView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "common/host_database.h"
#include "common/invoice_folder.h"
#include "desktop_support.h"
#include "field_edit.h"
#include "form_widget.h"
#include "main_window.h"
#include "platform/word/word.h"
#include "plugin/session/plattform.h"
#include "preview_dock.h"

namespace tarvex::desktop {
namespace {

class HostRoundTrip : public ::testing::Test, protected testing::InvoiceFolder {
  protected:
    void SetUp() override { plattform().reset(); }
};

// The rows `tarvex init` writes: user 1 at 19 %, invoice 1 dated 01.03.2026, a deadline.
constexpr const char* kDemoRows = R"(
INSERT INTO TempDoc (ID_Benutzer, ID_Auftragsnummer, AbschlagAbsolut, AbschlagProzent,
  Zahlungsziel, Mehrwertsteuersatz, Mehrwertsteuer, MwStErmäßigt, Rabatt)
  VALUES (1, 42, 0, 100, 1, 190, 190, 70, 0);
INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer, Rechnungsart, ID_Auftragsnummer)
  VALUES (1, '2026-0001', 1, 42);
INSERT INTO Termine VALUES (1, 1, 8, '2026-03-01');
INSERT INTO Version VALUES (1, 'Bitte überweisen Sie den Rechnungsbetrag ohne Abzug bis zum<14>',
  25.6, 1);
)";

// Waits until the preview's pages show some dark ink (the view renders them in the background).
bool pagesPainted(QWidget& view) {
    for (int i = 0; i < 100; ++i) {
        const QImage shot = view.grab().toImage();
        int ink = 0;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2)
                if (qGray(shot.pixel(x, y)) < 100) ++ink;
        if (ink > 50) return true;
        QTest::qWait(100);
    }
    return false;
}

// Typed and tabbed as a user does, OK pressed with Return: the same fee, totals and stored
// amounts as the command-line host computes for these inputs; the preview then shows the
// invoice. Opened again, the window asks for the table in the selection dialog, answered with
// the arrow key and Return, and reads the table back.
TEST_F(HostRoundTrip, KeyboardEntryWritesTheCliOutcomeAndThePreviewShowsIt) {
    const testing::ScopedEnv office("TARVEX_SOFFICE", std::nullopt);
    database = testing::schemaDatabase(folder.path(), kDemoRows, "demo.sqlite");
    MainWindow window(1);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(window.openInvoice(QString::fromStdString(invoice.string())));
    ASSERT_TRUE(window.openDatabase(QString::fromStdString(database.string()), 1))
        << window.lastMessage().toStdString();

    FormWidget* view = window.openFeeItem(0);
    ASSERT_NE(view, nullptr) << window.lastMessage().toStdString();
    ASSERT_EQ(window.mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow* sub = window.mdiArea()->subWindowList().front();
    EXPECT_EQ(sub->windowTitle(), "Grenzfeststellung nach Nr. 30.6");
    ASSERT_TRUE(qobject_cast<FieldEdit*>(QApplication::focusWidget()))
        << "the window opens with the focus in an input field";

    for (const auto& [field, text] :
         {std::pair{"mskAGPSohne", "10"}, {"mskAGP", "4"}, {"mskBoden", "150"}}) {
        ASSERT_TRUE(testing::tabTo(QString::fromLatin1(field))) << field;
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
    }
    ASSERT_TRUE(testing::tabTo(QStringLiteral("CommandEnde")));
    EXPECT_EQ(qobject_cast<QLabel*>(view->widgetFor("lblSumme"))->text(), "2.562,50");
    testing::saveScreenshot(*sub, QStringLiteral("frmKat5"));

    QSignalSpy shown(window.preview(), &PreviewDock::shown);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();  // the host settles after the window's close
    EXPECT_TRUE(window.mdiArea()->subWindowList().empty());
    EXPECT_FALSE(window.session().inTransaction());
    EXPECT_TRUE(window.lastMessage().startsWith("Rechnung gespeichert"))
        << window.lastMessage().toStdString();
    EXPECT_EQ(feeTables(), 1u);
    EXPECT_EQ(feeTables("RE_Summe"), 1u);
    EXPECT_EQ(testing::queryText(database,
                                 "SELECT NettoRechnung, Brutto, MehrwertsteuerFreierbetrag FROM "
                                 "Rechnung WHERE ID_Rechnungsnummer = 1"),
              "256250|304938|0");

    // LibreOffice's first start with a fresh profile may take long on a busy machine.
    ASSERT_TRUE(shown.count() > 0 || shown.wait(240'000))
        << window.preview()->message().toStdString();
    EXPECT_GE(window.preview()->document()->pageCount(), 1);
    auto* pages = window.preview()->findChild<QPdfView*>();
    ASSERT_NE(pages, nullptr);
    EXPECT_TRUE(pagesPainted(*pages));
    testing::saveScreenshot(window, QStringLiteral("main-preview"));

    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        for (int i = 0; i < 100 && !QApplication::focusWidget(); ++i) QTest::qWait(20);
        testing::saveScreenshot(*dialog, QStringLiteral("G_frmTabelle"));
        auto* fresh = dialog->findChild<QRadioButton*>("optNeu");
        auto* first = dialog->findChild<QRadioButton*>("optTabelle(0)");
        EXPECT_EQ(QApplication::focusWidget(), fresh) << "the chosen option has the focus";
        QTest::keyClick(fresh, Qt::Key_Down);
        EXPECT_TRUE(first->isChecked());
        EXPECT_EQ(QApplication::focusWidget(), first);
        QTest::keyClick(first, Qt::Key_Return);
    });
    view = window.openFeeItem(0);
    ASSERT_NE(view, nullptr) << window.lastMessage().toStdString();
    EXPECT_TRUE(qobject_cast<QLineEdit*>(view->widgetFor("mskBoden"))->text().contains("150"));
    EXPECT_EQ(qobject_cast<QLabel*>(view->widgetFor("lblSumme"))->text(), "2.562,50");
}

TEST_F(HostRoundTrip, CancelWritesNothingAndEndsTheTransaction) {
    MainWindow window(5);
    ASSERT_TRUE(window.openDatabase(QString::fromStdString(database.string()), 1));
    EXPECT_EQ(window.openFeeItem(0), nullptr);  // no invoice yet
    ASSERT_TRUE(window.openInvoice(QString::fromStdString(invoice.string())));
    FormWidget* view = window.openFeeItem(0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(window.openFeeItem(0), view);  // the open window is brought forward
    EXPECT_FALSE(window.openInvoice(QString::fromStdString(invoice.string())));

    qobject_cast<QPushButton*>(view->widgetFor("CommandAbbruch"))->click();
    QApplication::processEvents();
    EXPECT_FALSE(window.session().inTransaction());
    EXPECT_TRUE(window.mdiArea()->subWindowList().empty());

    // The subwindow's close button closes the form; the subwindow and its view go with it.
    ASSERT_NE(window.openFeeItem(0), nullptr);
    window.mdiArea()->subWindowList().front()->close();
    QApplication::processEvents();
    EXPECT_TRUE(window.mdiArea()->subWindowList().empty());
    EXPECT_FALSE(window.session().inTransaction());
    EXPECT_EQ(feeTables(), 0u);
    EXPECT_EQ(netAmount(), "0");
}

}  // namespace
}  // namespace tarvex::desktop
