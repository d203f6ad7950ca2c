// The Lang gestreckte Anlagen window: defaults at load, the
// live fee with each classification, and the fixed rows of the fee table OK writes.

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

TEST_F(AnlagenTest, LoadsWithTheFirstClassificationAndComputesTheEmptyInputs) {
    frmKat3& f = anlagen();
    EXPECT_EQ(f.combo("cmbKlassifizierung").listIndex(), 0);
    EXPECT_EQ(f.combo("cmbKlassifizierung").text(), Klassifizierungen()[0]);
    EXPECT_EQ(caption(f, "lblFaktor"), "1,5");
    EXPECT_EQ(caption(f, "lblSumme"), "  0,00");
    EXPECT_EQ(text(f, "mskBezug"), "1000,00");
    EXPECT_FALSE(f.checkBox("chkBereich").visible());
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(AnlagenTest, SubtotalTimesTheClassificationFactor) {
    for (const auto& [eintrag, faktor, summe] :
         {std::tuple{0, "1,5", "40.650,00"}, std::tuple{1, "1,2", "32.520,00"},
          std::tuple{2, "1,0", "27.100,00"}}) {
        SCOPED_TRACE(eintrag);
        neuerFall();
        frmKat3& f = anlagen();
        beispiel(f);
        user::chooseListEntry(f, "cmbKlassifizierung", eintrag);
        EXPECT_EQ(caption(f, "lblZwischen"), "27.100,00");
        EXPECT_EQ(caption(f, "lblFaktor"), faktor);
        EXPECT_EQ(caption(f, "lblSumme"), summe);
    }
}

TEST_F(AnlagenTest, WorkedExampleWritesTheFixedRowsAndLeavesTheGapsEmpty) {
    frmKat3& f = anlagen();
    beispiel(f);
    user::type(f, "grdAusFlur", "112/3, 112/4");
    user::type(f, "grdNeuFlur", "115/1 bis 115/120");
    user::click(f, "CommandEnde");
    ASSERT_FALSE(f.isLoaded());
    auto t = anlagentabelle();
    ASSERT_TRUE(t);
    const std::string leer = "|||||\n";
    EXPECT_EQ(inhalt(*t),
              "Lang gestreckte Anlagen nach Nr. 30.3\r||||[TARVEX_3]|\n"
              "Geb. V.|Gegenstand|Anzahl|Einzelgebühr [€]|Gebühr [€]|\n"
              "30.21.1|Ausgangsflurstücke||||\n"
              "|112/3, 112/4|2|150,00 €|300,00 €[no]|\n" +
                  leer +
                  "30.21.2|gebildete Flurstücke||||\n"
                  "|120 Flur-/Zuflurstücke||||\n"
                  "|115/1 bis 115/120||||\n"
                  "|Für die ersten 50 Flurstücke|50|230,00 €|11.500,00 €[no]|\n"
                  "|Für weitere Flurstücke|70|210,00 €|14.700,00 €[no]|\n" +
                  leer + "30.21.3|Grenzpunkte der neuen Grenze|10|40,00 €|400,00 €[no]|\n" + leer +
                  "30.21.4|8 abzumarkende Grenzpunkte der neuen Grenze|8|25,00 €|200,00 €[no]|\n" +
                  leer + "|Zwischensumme|||27.100,00 €[no]|\n" + leer +
                  "30.23.2|Wertfaktor||||\n"
                  "|Klassifizierung||||\n"
                  "|" +
                  Klassifizierungen()[0] + "|1,5|||\n" + leer + leer +
                  "|Gebühr = Zwischensumme * Wertfaktor|||40.650,00 €|\n" + leer + leer + leer +
                  leer + leer + leer);
    // Masked fields go into the cells as they stand, with the blanks of their places.
    EXPECT_EQ(ZelleEinlesen(*t, 7, 2), "120  Flur-/Zuflurstücke");
    EXPECT_EQ(ZelleEinlesen(*t, 14, 2), "8    abzumarkende Grenzpunkte der neuen Grenze");
    EXPECT_TRUE(t->Cell(16, 2).Range().Bold());
    EXPECT_FALSE(t->Cell(4, 2).Range().Bold());
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

// With 40 formed parcels the second field holds four blanks; typing 0 into it still asks for
// row 10.
TEST_F(AnlagenTest, RowTenOnlyWhenTheSecondFieldIsNotFourBlanks) {
    for (const bool null : {false, true}) {
        SCOPED_TRACE(null ? "0 typed" : "four blanks");
        neuerFall();
        frmKat3& f = anlagen();
        user::type(f, "mskFlurstücke", "40");
        if (null) user::type(f, "mskNeuFlur51", "0");
        user::click(f, "CommandEnde");
        auto t = anlagentabelle();
        ASSERT_TRUE(t);
        EXPECT_EQ(t->Rows().Count(), 29);
        std::string zeile10;
        for (short s = 1; s <= 5; ++s) zeile10 += ZelleEinlesen(*t, 10, s) + "|";
        EXPECT_EQ(zeile10, null ? "|Für weitere Flurstücke|0   |210,00 €|  0,00 €|" : "|||||");
        EXPECT_EQ(joinedComments(t->Cell(10, 5).Range()), null ? "no" : "");
    }
}

}  // namespace
}  // namespace tarvex::testing
