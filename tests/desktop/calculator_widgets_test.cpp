// Calculator windows in the desktop host: a worked example typed and clicked into the rendered
// widgets (parcel lists over two lines typed with Enter, check boxes, option buttons), OK, and
// the fee table in the saved invoice and the net amount in the database. Each filled window is
// saved as screenshots/frmKat<n>.png in the build folder.

#include <QCheckBox>
#include <QRadioButton>

#include "document/fee_table.h"
#include "fenster_im_host.h"

namespace tarvex::desktop {
namespace {

TEST_F(FensterImHost, ZerlegungWorkedExampleThroughTheWidgetsIsWrittenAndStored) {
    ASSERT_NO_FATAL_FAILURE(öffnen(4, "Zerlegung nach Nr. 30.1", 1000, 820));

    // 3 source parcels, 51 formed, one first small parcel, 12 and 8 points, land value 50
    // (1,5), splinter reduction: subtotal 12.610,00, fee 12.610 × 1,5 × 0,7 = 13.240,50.
    tippen("mskAusFlur", "3");
    zeilenTippen("grdAusFlur", {"Flst. 12", "Flst. 13"});
    tippen("mskGesamt", "51");
    zeilenTippen("grdNeuFlur", {"Flst. 20/1 bis 20/51"});
    tippen("mskGesamt75", "1");
    zeilenTippen("txt_50", {"Flst. 20/7"});
    tippen("mskGP", "12");
    tippen("mskAGP", "8");
    tippen("mskBoden", "50");
    fokus("mskAusFlur");
    qobject_cast<QCheckBox*>(view->widgetFor("sevCheck1"))->click();

    EXPECT_EQ(feld("mskNeuFlur51"), "1   ");
    EXPECT_EQ(anzeige("lblZwischen"), "12.610,00");
    EXPECT_EQ(anzeige("lblSumme"), "13.240,50");
    EXPECT_FALSE(view->widgetFor("lblSplitter")->isHidden());
    bildSpeichern("frmKat1");

    ok();
    EXPECT_EQ(netAmount(), "1324050");
    const auto t = tabellen("TARVEX_1");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(ZelleEinlesen(t.front(), 4, 2), "Flst. 12\rFlst. 13");
    EXPECT_EQ(ZelleEinlesen(t.front(), 11, 2), "Flst. 20/7");
    EXPECT_EQ(ZelleEinlesen(t.front(), 25, 5), "13.240,50 €");
}

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
    bildSpeichern("frmKat2");

    ok();
    const auto t = tabellen("TARVEX_2");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].Rows().Count(), 31);
    EXPECT_EQ(ZelleEinlesen(t[0], 4, 2), "Flst. 12\rFlst. 13");
    // The fee and the reduction enter the totals: 102.262,50 - 20.452,50.
    EXPECT_EQ(netAmount(), "8181000");
}

}  // namespace
}  // namespace tarvex::desktop
