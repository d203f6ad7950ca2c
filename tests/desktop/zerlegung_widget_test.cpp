// The Zerlegung window in the desktop host: a worked example typed into the rendered widgets,
// a parcel list of two lines typed with Enter, the splinter box clicked, a screenshot of the
// filled window, then OK: the fee table in the saved invoice and the amount in the database.

#include <QCheckBox>

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
    bildSpeichern("frmKat1.png");

    ok();
    EXPECT_EQ(nettoRechnung(), "1324050");
    const auto t = tabellen("TARVEX_1");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(ZelleEinlesen(t.front(), 4, 2), "Flst. 12\rFlst. 13");
    EXPECT_EQ(ZelleEinlesen(t.front(), 11, 2), "Flst. 20/7");
    EXPECT_EQ(ZelleEinlesen(t.front(), 25, 5), "13.240,50 €");
}

}  // namespace
}  // namespace tarvex::desktop
