#pragma once
// A calculator window opened from the desktop host's menu on the shared invoice folder; values typed into the rendered widgets, a screenshot, OK, and the
// invoice and the invoice record read back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "common/invoice_folder.h"
#include "desktop_support.h"
#include "form_widget.h"
#include "main_window.h"
#include "platform/word/word.h"
#include "plugin/session/plattform.h"

namespace tarvex::desktop {

class FensterImHost : public ::testing::Test, protected testing::InvoiceFolder {
  protected:
    void SetUp() override { plattform().reset(); }

    // Opens fee item `index` in a host window of the given size (0: the host's own); use as
    // ASSERT_NO_FATAL_FAILURE(öffnen(...)).
    void öffnen(int index, const char* titel, int breite = 0, int höhe = 0) {
        window = std::make_unique<MainWindow>(5);
        if (breite > 0) window->resize(breite, höhe);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(window->openInvoice(QString::fromStdString(invoice.string())));
        ASSERT_TRUE(window->openDatabase(QString::fromStdString(database.string()), 1));
        view = window->openFeeItem(index);
        ASSERT_NE(view, nullptr) << window->lastMessage().toStdString();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        EXPECT_EQ(window->mdiArea()->subWindowList().front()->windowTitle(), titel);
    }

    void tippen(const std::string& feld, const char* text) {
        QWidget* w = view->widgetFor(feld);
        ASSERT_NE(w, nullptr) << feld;
        w->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w, text);
    }
    // Lines typed into a multi-line box, each after a Return but the first.
    void zeilenTippen(const std::string& liste, const QStringList& zeilen) {
        auto* edit = qobject_cast<QPlainTextEdit*>(view->widgetFor(liste));
        ASSERT_NE(edit, nullptr) << liste << " is no multi-line box";
        edit->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < zeilen.size(); ++i) {
            if (i > 0) QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClicks(edit, zeilen[i]);
        }
    }
    // Moves the focus to `feld`, so the field left last is recomputed.
    void fokus(const std::string& feld) { view->widgetFor(feld)->setFocus(Qt::TabFocusReason); }
    std::string feld(const std::string& name) {
        return qobject_cast<QLineEdit*>(view->widgetFor(name))->text().toStdString();
    }
    std::string anzeige(const std::string& name) {
        return qobject_cast<QLabel*>(view->widgetFor(name))->text().toStdString();
    }

    void bildSpeichern(const char* name) {
        testing::saveScreenshot(*window->mdiArea()->subWindowList().front(), name);
    }
    // OK: the window writes its table, the host saves and closes it.
    void ok() {
        qobject_cast<QPushButton*>(view->widgetFor("CommandEnde"))->click();
        QApplication::processEvents();
        EXPECT_TRUE(window->mdiArea()->subWindowList().empty());
    }

    std::vector<word::Table> tabellen(const char* tag) {
        dokument = word::Document::Open(invoice.string());
        return testing::taggedTables(*dokument, tag);
    }

    std::unique_ptr<MainWindow> window;
    FormWidget* view = nullptr;
    std::shared_ptr<word::Document> dokument;
};

}  // namespace tarvex::desktop
