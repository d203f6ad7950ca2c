// The Gebäudeaufnahme window in the desktop host: typed through its widgets (the description
// over two lines), OK, and the fee table and the amount in the invoice and the database.

#include <QCheckBox>

#include "document/fee_table.h"
#include "fenster_im_host.h"

namespace tarvex::desktop {
namespace {

TEST_F(FensterImHost, GebaeudeaufnahmeTypedThroughTheWidgetsWrittenOnOkAndShownLegibly) {
    ASSERT_NO_FATAL_FAILURE(öffnen(1, "Gebäudeaufnahme nach Nr. 30.4"));
    zeilenTippen("txtGebäude", {"Wohnhaus", "Garage"});
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(view->widgetFor("txtGebäude"))->toPlainText(),
              "Wohnhaus\nGarage");
    tippen("mskAnzahl", "12");
    tippen("mskBaukosten", "300000");
    fokus("mskAnzahl");
    qobject_cast<QCheckBox*>(view->widgetFor("chkBereich"))->click();
    EXPECT_EQ(feld("mskAnzahl30"), "   2");
    EXPECT_EQ(anzeige("lblSumme"), "480,00");
    bildSpeichern("frmKat4.png");

    ok();
    const auto t = tabellen("TARVEX_4");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(ZelleEinlesen(t[0], 4, 2), "Wohnhaus\rGarage");
    EXPECT_EQ(ZelleEinlesen(t[0], 9, 2), "zwischen 100 T€ und 400 T€");
    EXPECT_EQ(nettoRechnung(), "48000");
}

}  // namespace
}  // namespace tarvex::desktop
