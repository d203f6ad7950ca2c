// The Lang gestreckte Anlagen window in the desktop host: the worked example typed into the
// rendered widgets, OK, and the invoice and the invoice record checked; the window is saved as
// screenshots/frmKat3.png in the build folder.

#include <QComboBox>

#include "fenster_im_host.h"

namespace tarvex::desktop {
namespace {

TEST_F(FensterImHost, AnlagenWorkedExampleTypedIntoTheWidgetsIsWrittenAndCommitted) {
    ASSERT_NO_FATAL_FAILURE(öffnen(2, "Lang gestreckte Anlagen nach Nr. 30.3", 900, 800));
    auto* combo = qobject_cast<QComboBox*>(view->widgetFor("cmbKlassifizierung"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 0);

    for (const auto& [name, text] :
         {std::pair{"mskAusFlur", "2"}, {"mskFlurstücke", "120"}, {"mskGP", "10"}, {"mskAGP", "8"}})
        tippen(name, text);
    fokus("grdAusFlur");
    EXPECT_EQ(feld("mskNeuFlur51"), "70  ");
    EXPECT_EQ(anzeige("lblZwischen"), "27.100,00");
    EXPECT_EQ(anzeige("lblSumme"), "40.650,00");
    bildSpeichern("frmKat3.png");

    ok();
    EXPECT_EQ(tabellen("TARVEX_3").size(), 1u);
    EXPECT_EQ(nettoRechnung(), "4065000");
}

}  // namespace
}  // namespace tarvex::desktop
