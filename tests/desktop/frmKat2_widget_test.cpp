// The Baulandumlegung window in the desktop host: the worked example typed and clicked into
// the rendered widgets, the reduction ticked, OK; the invoice holds the fee table and the
// database the net amount. A screenshot of the filled window goes to screenshots/frmKat2.png
// in the build folder.

#include <QCheckBox>
#include <QRadioButton>

#include "document/fee_table.h"
#include "fenster_im_host.h"

namespace tarvex::desktop {
namespace {

TEST_F(FensterImHost, BaulandumlegungWorkedExampleThroughTheWidgetsIsWrittenAndCommitted) {
    ASSERT_NO_FATAL_FAILURE(öffnen(3, "Baulandumlegung nach Nr. 30.2", 1000, 800));
    zeilenTippen("grdAusFlur", {"Flst. 12", "Flst. 13"});
    tippen("mskAusFlur", "3");
    tippen("mskGesamt", "60");
    tippen("mskGP", "20");
    tippen("mskAGP", "12");
    tippen("mskBoden", "250");
    fokus("mskAusFlur");
    // Clicked on the circle: the button's middle may lie beyond its caption.
    QTest::mouseClick(qobject_cast<QRadioButton*>(view->widgetFor("sevOption2")), Qt::LeftButton,
                      {}, QPoint(6, 8));
    qobject_cast<QCheckBox*>(view->widgetFor("chkErmäßigung"))->click();
    EXPECT_EQ(feld("mskNeuFlur51"), "10  ");
    EXPECT_EQ(anzeige("lblZwischen"), "15.150,00");
    EXPECT_EQ(anzeige("lblFaktor"), "2,25");
    EXPECT_EQ(anzeige("lblDichtefaktor"), "3,0");
    EXPECT_EQ(anzeige("lblSumme"), "102.262,50");
    EXPECT_FALSE(qobject_cast<QRadioButton*>(view->widgetFor("sevOption1"))->isChecked());
    bildSpeichern("frmKat2.png");

    ok();
    const auto t = tabellen("TARVEX_2");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].Rows().Count(), 31);
    EXPECT_EQ(ZelleEinlesen(t[0], 4, 2), "Flst. 12\rFlst. 13");
    // The fee and the reduction enter the totals: 102.262,50 - 20.452,50.
    EXPECT_EQ(nettoRechnung(), "8181000");
}

}  // namespace
}  // namespace tarvex::desktop
