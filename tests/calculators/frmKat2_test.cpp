// The Baulandumlegung window: load defaults, Faktor A, the
// worked example, and the optional rows OK writes for further parcels, reduction and share.

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

TEST_F(BaulandumlegungTest, EmptyWindowStartsWithDefaultsAndWritesTwentyNineRows) {
    frmKat2& f = baulandumlegung();
    EXPECT_EQ(text(f, "mskBezug"), "1000,00");
    EXPECT_TRUE(f.option("sevOption1").value());
    EXPECT_EQ(caption(f, "lblDichtefaktor"), "1,7");
    EXPECT_EQ(caption(f, "lblFaktor"), "1,0");
    EXPECT_EQ(caption(f, "lblSumme"), "  0,00");
    user::click(f, "CommandEnde");
    auto t = gebührentabelle();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Rows().Count(), 29);
    zellenPrüfen(*t, {{1, 1, "Baulandumlegung nach Nr. 30.2\r", ""},
                      {1, 5, "", "TARVEX_2"},
                      {4, 3, "    ", ""},
                      {9, 2, "", ""},
                      {17, 3, "     €/m²", ""},
                      {23, 5, "  0,00 €", ""},
                      {25, 2, "", ""}});
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

TEST_F(BaulandumlegungTest, SubtotalFactorsAndFeeOnScreenAndInTheTable) {
    for (const auto& [option, faktorA, gebühr] : {std::tuple{"sevOption1", "1,7", "57.948,75"},
                                                  std::tuple{"sevOption2", "3,0", "102.262,50"}}) {
        SCOPED_TRACE(option);
        neuerFall();
        frmKat2& f = baulandumlegung();
        beispielEingeben(f);
        user::click(f, option);
        EXPECT_EQ(caption(f, "lblZwischen"), "15.150,00");
        EXPECT_EQ(caption(f, "lblFaktor"), "2,25");
        EXPECT_EQ(caption(f, "lblDichtefaktor"), faktorA);
        EXPECT_EQ(caption(f, "lblSumme"), gebühr);
        user::type(f, "grdAusFlur", "Flst. 12\rFlst. 13");
        user::type(f, "grdNeuFlur", "Flst. 100 bis 159");
        user::click(f, "CommandEnde");
        auto t = gebührentabelle();
        ASSERT_TRUE(t);
        EXPECT_EQ(t->Rows().Count(), 29);
        zellenPrüfen(*t, {{2, 4, "Einzelgebühr [€]", ""},
                          {3, 1, "30.21.1", ""},
                          {4, 2, "Flst. 12\rFlst. 13", ""},
                          {4, 3, "3   ", ""},
                          {4, 4, "150,00 €", ""},
                          {4, 5, "450,00 €", "no"},
                          {6, 2, "gebildete Flurstücke", ""},
                          {7, 2, "Flst. 100 bis 159", ""},
                          {8, 3, "50  ", ""},
                          {8, 5, "11.500,00 €", "no"},
                          {9, 2, "Für weitere Flurstücke", ""},
                          {9, 3, "10  ", ""},
                          {9, 5, "2.100,00 €", "no"},
                          {11, 5, "800,00 €", "no"},
                          {13, 2, "Abzumarkende Grenzpunkte", ""},
                          {13, 5, "300,00 €", "no"},
                          {15, 5, "15.150,00 €", "no"},
                          {17, 3, "250  €/m²", ""},
                          {18, 3, "2,25", ""},
                          {20, 1, "30.2.1", ""},
                          {21, 3, faktorA, ""},
                          {23, 5, std::string(gebühr) + " €", ""},
                          {25, 5, "", ""}});
    }
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

const std::string kErm = "Ermäßigung, da die Zuteilung weitgehend nicht selbst durchgeführt wurde";

// Fee 57.948,75 (worked example, "W, M, SO"); reduction and share act only in the table.
TEST_F(BaulandumlegungTest, ReductionAndShareRowsAndWhichAmountsTheTotalsTake) {
    const struct {
        const char* name;
        bool ermäßigung;
        const char* anteil;  // typed into mskBezug, "" for none
        const char* feld;    // what mskBezug then holds
        long zeilen;
        std::vector<Zelle> zellen;
    } fälle[] = {
        {"Ermaessigung",
         true,
         "",
         "1000,00",
         31,
         {{23, 5, "57.948,75 €", ""},
          {25, 1, "30.2.4", ""},
          {25, 2, kErm, ""},
          {25, 3, "20%", ""},
          {25, 5, "-11.589,75 €", ""},
          {27, 2, "", ""}}},
        {"ErmaessigungAnteil500",
         true,
         "500,",
         " 500,00",
         33,
         {{23, 5, "57.948,75 €", "no"},
          {25, 5, "-11.589,75 €", "no"},
          {27, 2, "Anteil in 1/1000", ""},
          {27, 3, "500", ""},
          {27, 5, "23.179,50 €", ""}}},
        {"Anteil500",
         false,
         "500,",
         " 500,00",
         31,
         {{23, 5, "57.948,75 €", "no"},
          {25, 1, "", ""},
          {25, 2, "Anteil in 1/1000", ""},
          {25, 5, "28.974,38 €", ""}}},
        {"Anteil1000Komma00",
         false,
         "1000,00",
         "1000,00",
         29,
         {{23, 5, "57.948,75 €", ""}, {25, 2, "", ""}}},
        // The share counts by its whole thousandths: 1000,50 is the whole fee, 999,99 is not.
        {"Anteil1000Komma50",
         false,
         "1000,50",
         "1000,50",
         29,
         {{23, 5, "57.948,75 €", ""}, {25, 2, "", ""}}},
        {"Anteil999Komma99",
         false,
         "999,99",
         " 999,99",
         31,
         {{23, 5, "57.948,75 €", "no"}, {25, 3, "999,99", ""}, {25, 5, "57.948,17 €", ""}}}};
    for (const auto& p : fälle) {
        SCOPED_TRACE(p.name);
        neuerFall();
        frmKat2& f = baulandumlegung();
        beispielEingeben(f);
        if (p.ermäßigung) user::click(f, "chkErmäßigung");
        if (*p.anteil) user::type(f, "mskBezug", p.anteil);
        EXPECT_EQ(text(f, "mskBezug"), p.feld);
        EXPECT_EQ(caption(f, "lblSumme"), "57.948,75");
        user::click(f, "CommandEnde");
        auto t = gebührentabelle();
        ASSERT_TRUE(t);
        EXPECT_EQ(t->Rows().Count(), p.zeilen);
        zellenPrüfen(*t, p.zellen);
    }
}

TEST_F(BaulandumlegungTest, RowNineIsWrittenForAnyEntryEvenZero) {
    for (const auto& [eingabe, zeile9, betrag] :
         {std::tuple{"0", "0   ", "  0,00 €"}, std::tuple{"", "", ""},
          std::tuple{"4", "4   ", "840,00 €"}}) {
        SCOPED_TRACE(eingabe);
        neuerFall();
        frmKat2& f = baulandumlegung();
        user::type(f, "mskGesamt", "30");
        user::type(f, "mskNeuFlur51", eingabe);
        user::click(f, "CommandEnde");
        auto t = gebührentabelle();
        ASSERT_TRUE(t);
        zellenPrüfen(*t, {{9, 3, zeile9, ""}, {9, 5, betrag, *zeile9 ? "no" : ""}});
    }
}

TEST_F(BaulandumlegungTest, HandEditedCellsThatDoNotFitAFieldAreLoggedAndTheRestIsRead) {
    frmKat2& f = baulandumlegung();
    beispielEingeben(f);
    user::click(f, "CommandEnde");
    auto t = gebührentabelle();
    ASSERT_TRUE(t);
    t->Cell(11, 3).Range().InsertAfter("x");  // "20  x" does not fit mskGP
    frmKat2& wieder = baulandumlegung(true);
    EXPECT_EQ(text(wieder, "mskGP"), "    ");
    EXPECT_EQ(text(wieder, "mskAGP"), "12  ");
    EXPECT_TRUE(log.contains("TabelleEinlesen")) << log.sink().all();
}

}  // namespace
}  // namespace tarvex::testing
