// The main window as a clerk meets it: the invoice record chosen from a list, the question
// before changed inputs are dropped, the reason when a file cannot be opened, recent files,
// menu accelerators, the preview's messages and its cancelling, and Qt's texts in German.

#include "main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QPdfDocument>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <set>

#include "common/host_database.h"
#include "desktop_support.h"
#include "form_widget.h"
#include "invoice_dialog.h"
#include "plugin/session/plattform.h"
#include "preview_dock.h"
#include "recent_files.h"

namespace tarvex::desktop {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plattform().reset();
        invoice = QString::fromStdString(
            testing::copyTemplate("template-basic.docx", folder.path()).string());
        database = QString::fromStdString(testing::schemaDatabase(folder.path(), R"(
INSERT INTO TempDoc (ID_Benutzer, Mehrwertsteuersatz) VALUES (5, 190);
INSERT INTO Rechnung VALUES (1, '2026-0001', 1, 42, 123456, 146913, 0, 190);
INSERT INTO Rechnung VALUES (2, '2026-0002', 5, 42, 50000, 59500, 1500, 190);
INSERT INTO Termine VALUES (1, 1, 8, '2026-03-01');
)")
                                              .string());
        // After the reset: the window installs its own window manager.
        owned = std::make_unique<MainWindow>(5);
        owned->show();
        QApplication::setActiveWindow(owned.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(owned.get()));
    }
    // Runs `answer` on the modal dialog the next call opens.
    static void whenModal(std::function<void(QWidget*)> answer) {
        QTimer::singleShot(0, [answer] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
        });
    }

    QString file(const char* name) const {
        return QString::fromStdString((folder.path() / name).string());
    }

    testing::TempFolder folder;
    QString invoice, database;
    std::unique_ptr<MainWindow> owned;
};

TEST_F(MainWindowTest, InvoiceRecordIsChosenFromTheListAndNamedByNumber) {
    ASSERT_TRUE(owned->openDatabase(database, std::nullopt));
    whenModal([](QWidget* dialog) {
        auto* table = dialog->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->rowCount(), 3);
        QStringList row;
        for (int c = 0; c < table->columnCount(); ++c) row << table->item(2, c)->text();
        EXPECT_EQ(row.join('|'), "2026-0002|Abschlagsrechnung|42||500,00 €|595,00 €|15,00 €");
        EXPECT_EQ(table->item(1, 3)->text(), "01.03.2026");
        EXPECT_EQ(table->item(1, 4)->text(), "1.234,56 €");
        EXPECT_GE(dialog->width(),
                  dialog->fontMetrics().horizontalAdvance(dialog->windowTitle()) + 100)
            << "room for the whole title";
        testing::saveScreenshot(*dialog, "Rechnung_waehlen");
        QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Return);
    });
    ASSERT_TRUE(owned->chooseInvoiceRecord());
    EXPECT_EQ(owned->session().invoice(), 2);
    EXPECT_TRUE(owned->statusText().contains("Rechnungsnummer: 2026-0002"))
        << owned->statusText().toStdString();

    whenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(owned->chooseInvoiceRecord());
    EXPECT_EQ(owned->session().invoice(), 2) << "cancelled: the choice stays";
    ASSERT_TRUE(owned->openDatabase(database, 1));  // as --rechnung does it
    EXPECT_TRUE(owned->statusText().contains("Rechnungsnummer: 2026-0001"));
}

TEST_F(MainWindowTest, ClosingWithChangedInputsAsksFirst) {
    ASSERT_TRUE(owned->openInvoice(invoice));
    ASSERT_TRUE(owned->openDatabase(database, std::nullopt));
    FormWidget* view = owned->openFeeItem(0);
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->inputsChanged());
    QApplication::processEvents();
    ASSERT_TRUE(view->isAncestorOf(QApplication::focusWidget()))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className()
                                        : "none");
    QTest::keyClicks(QApplication::focusWidget(), "7");
    QString asked;
    whenModal([&asked](QWidget* box) {
        asked = box->windowTitle();
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click();
    });
    owned->close();
    EXPECT_EQ(asked, "Eingaben verwerfen?");
    EXPECT_TRUE(owned->isVisible());
    EXPECT_FALSE(owned->mdiArea()->subWindowList().empty());

    whenModal([](QWidget* box) {
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Discard)->click();
    });
    owned->close();
    EXPECT_FALSE(owned->isVisible());
}

TEST_F(MainWindowTest, FilesThatCannotBeOpenedSayWhyAndRecentFilesAreKept) {
    EXPECT_FALSE(owned->openInvoice(file("fehlt.docx")));
    EXPECT_TRUE(owned->lastMessage().contains("fehlt.docx")) << owned->lastMessage().toStdString();
    auto* box = owned->findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr) << "shown in a message box, not only the status bar";
    EXPECT_EQ(box->text(), owned->lastMessage());
    EXPECT_TRUE(owned->statusText().startsWith("Rechnung: –"));

    ASSERT_TRUE(owned->openInvoice(invoice));
    ASSERT_TRUE(owned->openDatabase(database, std::nullopt));
    EXPECT_EQ(RecentFiles(*plattform().settings, "Rechnung").paths(), QStringList{invoice});
    EXPECT_EQ(RecentFiles(*plattform().settings, "Datenbank").paths(), QStringList{database});
}

TEST(RecentFilesList, NewestFirstWithoutDoublesAtMostFive) {
    auto store = makeMemorySettingsStore();
    RecentFiles recent(*store, "Rechnung");
    for (const char* path : {"/a", "/b", "/c", "/b", "/d", "/e", "/f"}) recent.add(path);
    EXPECT_EQ(recent.paths().join(' '), "/f /e /d /b /c");
    EXPECT_TRUE(RecentFiles(*store, "Datenbank").paths().isEmpty());
}

TEST_F(MainWindowTest, EveryMenuEntryHasItsOwnAcceleratorLetter) {
    for (QAction* top : owned->menuBar()->actions()) {
        ASSERT_TRUE(top->text().contains('&')) << top->text().toStdString();
        std::set<QChar> letters;
        for (QAction* entry : top->menu()->actions()) {
            if (entry->isSeparator()) continue;
            const qsizetype at = entry->text().indexOf('&');
            ASSERT_GE(at, 0) << entry->text().toStdString();
            EXPECT_TRUE(letters.insert(entry->text().at(at + 1).toLower()).second)
                << entry->text().toStdString();
        }
    }
}

// A stand-in for LibreOffice that waits $TARVEX_TEST_WAIT seconds, then writes a one-page PDF.
const char* kFakeOffice = R"(#!/bin/sh
sleep "${TARVEX_TEST_WAIT:-0}"
for a; do case "$a" in --outdir) next=1;; *) [ -n "$next" ] && out="$a"; next=;; esac; done
cat > "$out/Rechnung.pdf" <<'PDF'
%PDF-1.4
1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj
2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj
3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >> endobj
trailer << /Root 1 0 R >>
%%EOF
PDF
)";

TEST_F(MainWindowTest, PreviewSaysWhatIsMissingAndANewerRequestCancelsTheOlder) {
    PreviewDock* preview = owned->preview();
    {
        const testing::ScopedEnv office("TARVEX_SOFFICE", "/nicht/installiert/soffice");
        QSignalSpy failed(preview, &PreviewDock::failed);
        preview->showInvoice(invoice);
        ASSERT_EQ(failed.count(), 1);
        EXPECT_TRUE(preview->message().contains("LibreOffice ist nicht installiert"))
            << preview->message().toStdString();
    }
    const QString fake = file("soffice");
    {
        QFile script(fake);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(kFakeOffice);
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const testing::ScopedEnv office("TARVEX_SOFFICE", fake.toStdString());
    QSignalSpy shown(preview, &PreviewDock::shown);
    QSignalSpy failed(preview, &PreviewDock::failed);
    {
        const testing::ScopedEnv slow("TARVEX_TEST_WAIT", "60");
        preview->showInvoice(invoice);
    }
    EXPECT_TRUE(preview->busy());
    EXPECT_EQ(preview->message(), "Vorschau wird erstellt …");
    preview->showInvoice(invoice);
    ASSERT_TRUE(shown.wait(30'000)) << preview->message().toStdString();
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(failed.count(), 0);
    EXPECT_FALSE(preview->busy());
    EXPECT_EQ(preview->document()->pageCount(), 1);
}

TEST(GermanLocale, QtsOwnTextsAreGerman) {
    if (QLocale().language() != QLocale::German) GTEST_SKIP() << "runs under LANG=de_DE.UTF-8";
    EXPECT_EQ(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText), "Strg+S");
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "Abbrechen");
}

}  // namespace
}  // namespace tarvex::desktop
