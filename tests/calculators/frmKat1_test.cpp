// The Zerlegung window: the splinter box, the factor choice and
// the fee table OK writes with its optional blocks, share and row count.

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

// The land value was never entered and the table has no row for a share: the read-back
// leaves the land value empty (not "0"), reads nothing beyond the table's end and writes the
// same table again.
TEST_F(ZerlegungTest, EmptyWindowWritesTwentyRowsWithTheFeeUnmarkedAndReadsThemBack) {
    frmKat1& f = zerlegung();
    EXPECT_EQ(caption(f, "lblSumme"), "  0,00");
    EXPECT_EQ(text(f, "mskBezug"), "1000,00");
    user::click(f, "CommandEnde");
    auto t = zerlegungstabelle();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Rows().Count(), 20);
    EXPECT_EQ(inhalt(*t),
              "Zerlegung nach Nr. 30.1\r||||[TARVEX_1]|\n"
              "Geb. V.|Gegenstand|Anzahl|Einzelgebühr [€]|Gebühr [€]|\n"
              "30.21.1|Ausgangsflurstücke||||\n"
              "|||150,00 €|0,00 €[no]|\n"
              "|||||\n"
              "30.21.2.1|gebildete Flurstücke||||\n"
              "|||230,00 €|0,00 €[no]|\n"
              "|||||\n"
              "30.21.3|Grenzpunkte der neuen Grenze||40,00 €|0,00 €[no]|\n"
              "|||||\n"
              "30.21.4|abzumarkende Grenzpunkte der neuen Grenze||25,00 €|0,00 €[no]|\n"
              "|||||\n"
              "|Zwischensumme|||0,00 €[no]|\n"
              "|||||\n"
              "30.23.1|Wertfaktor||||\n"
              "|Bodenwert|Faktor|||\n"
              "|€/m²|0,0|||\n"
              "|||||\n"
              "|Gebühr = Zwischensumme * Faktor|||0,00 €|\n"
              "|||||\n");
    EXPECT_EQ(ZelleEinlesen(*t, 4, 3), "    ");  // counts are written as the fields hold them
    const std::string erste = inhalt(*t);
    speichernUndNeuÖffnen();
    frmKat1& wieder = zerlegung(true);
    EXPECT_EQ(text(wieder, "mskBoden"), "    ");
    user::click(wieder, "CommandEnde");
    EXPECT_EQ(inhalt(*zerlegungstabelle()), erste);
    EXPECT_EQ(log.count(), 0u) << log.sink().all();
}

// Every optional block: two source parcels, 53 formed parcels, one division into two small
// parcels, a first and two further small parcels, one surcharge, 10 and 5 points, land
// value 150 (2,25), the splinter reduction and a share of 500.
void alleBlöcke(frmKat1& f) {
    user::type(f, "mskAusFlur", "2");
    user::type(f, "grdAusFlur", "Flst. 1\nFlst. 2");
    user::type(f, "mskGesamt", "53");
    user::type(f, "mskGesamt2", "1");
    user::type(f, "txt_2", "Flst. 7");
    user::type(f, "mskGesamt75", "1");
    user::type(f, "mskWeiter75", "2");
    user::type(f, "mskGesamt599", "1");
    user::type(f, "mskGP", "10");
    user::type(f, "mskAGP", "5");
    user::type(f, "mskBoden", "150");
    user::click(f, "sevCheck1");
    user::type(f, "mskBezug", "500,");
}

TEST_F(ZerlegungTest, EveryOptionalBlockFillsExactlyThirtyFiveRows) {
    frmKat1& f = zerlegung();
    alleBlöcke(f);
    EXPECT_EQ(caption(f, "lblZwischen"), "12.380,00");
    EXPECT_EQ(caption(f, "lblSumme"), "19.498,50");  // × 2,25 × 0,7
    user::click(f, "CommandEnde");
    auto t = zerlegungstabelle();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Rows().Count(), 35);
    EXPECT_EQ(inhalt(*t),
              "Zerlegung nach Nr. 30.1\r||||[TARVEX_1]|\n"
              "Geb. V.|Gegenstand|Anzahl|Einzelgebühr [€]|Gebühr [€]|\n"
              "30.21.1|Ausgangsflurstücke||||\n"
              "|Flst. 1\rFlst. 2|2|150,00 €|300,00 €[no]|\n"
              "|||||\n"
              "30.21.2.1|gebildete Flurstücke||||\n"
              "||50|230,00 €|11.500,00 €[no]|\n"
              "||3|210,00 €|630,00 €[no]|\n"
              "|||||\n"
              "30.21.2.2|Ermäßigungen 2 Flurstücke mit Fläche < 75m²||||\n"
              "|Flst. 7|1|-345,00 €|-345,00 €[no]|\n"
              "|||||\n"
              "30.21.2.3|Ermäßigungen Fläche < 75m², erstes Flurstück||||\n"
              "||1|-230,00 €|-230,00 €[no]|\n"
              "|||||\n"
              "|Ermäßigungen Fläche < 75m², weitere Flurstück|2|-115,00 €|-230,00 €[no]|\n"
              "|||||\n"
              "30.21.2.4|Anzahl der Erhöhungen Fläche > 599/524 m²||||\n"
              "||1|230,00 €|230,00 €[no]|\n"
              "|||||\n"
              "30.21.3|Grenzpunkte der neuen Grenze|10|40,00 €|400,00 €[no]|\n"
              "|||||\n"
              "30.21.4|abzumarkende Grenzpunkte der neuen Grenze|5|25,00 €|125,00 €[no]|\n"
              "|||||\n"
              "|Zwischensumme|||12.380,00 €[no]|\n"
              "|||||\n"
              "30.1.2|Ermäßigung Splitterflächen|Faktor|||\n"
              "||0,7|||\n"
              "30.23.1|Wertfaktor||||\n"
              "|Bodenwert|Faktor|||\n"
              "|150 €/m²|2,25|||\n"
              "|||||\n"
              "|Gebühr = Zwischensumme * Faktor|||19.498,50 €[no]|\n"
              "|||||\n"
              "|Anteil in 1/1000|500||9.749,25 €|\n");
    EXPECT_EQ(ZelleEinlesen(*t, 10, 2), "Ermäßigungen 2 Flurstücke mit Fläche < 75m² ");
}

TEST_F(ZerlegungTest, FurtherSmallParcelsWithoutAFirstOneStillGetTheirBlockAndAddUp) {
    frmKat1& f = zerlegung();
    user::type(f, "mskAusFlur", "4");
    user::type(f, "mskWeiter75", "2");
    user::type(f, "mskBoden", "5");
    EXPECT_EQ(caption(f, "lblZwischen"), "370,00");
    user::click(f, "CommandEnde");
    auto t = zerlegungstabelle();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Rows().Count(), 25);
    // The first-parcel row holds the empty field and its zero amount; the written amounts add
    // up to the subtotal.
    zellenPrüfen(*t, {{9, 1, "30.21.2.3", ""},
                      {10, 5, "  0,00 €", "no"},
                      {12, 3, "2   ", ""},
                      {12, 5, "-230,00 €", "no"},
                      {18, 5, "370,00 €", "no"},
                      {24, 5, "370,00 €", ""}});
}

TEST_F(ZerlegungTest, NegativeSubtotalIsWrittenWithItsSign) {
    frmKat1& f = zerlegung();
    user::type(f, "mskGesamt2", "5");
    user::type(f, "mskBoden", "5");
    user::click(f, "CommandEnde");
    auto t = zerlegungstabelle();
    ASSERT_TRUE(t);
    EXPECT_EQ(ZelleEinlesen(*t, 16, 5), "-1.725,00 €");
    EXPECT_EQ(ZelleEinlesen(*t, 22, 2), "Gebühr = Zwischensumme * Faktor");
    EXPECT_EQ(ZelleEinlesen(*t, 22, 5), "-1.725,00 €");
}

// Two source parcels at land value 5: fee 300,00 in row 19.
TEST_F(ZerlegungTest, OnlyTheLeadingNumberDecidesTheShareRowsTheDecimalsEnterTheAmount) {
    const struct {
        const char *eingabe, *feld;
        long zeilen;
        const char *gebührMarke, *anteilText, *anteilBetrag;
    } fälle[] = {{"", "1000,00", 20, "", "", ""},
                 {"1000,50", "1000,50", 20, "", "", ""},
                 {"999,99", " 999,99", 22, "no", "999,99", "  300,00 €"},
                 {"500,", " 500,00", 22, "no", "500", "  150,00 €"}};
    for (const auto& p : fälle) {
        SCOPED_TRACE(p.eingabe);
        neuerFall();
        frmKat1& f = zerlegung();
        user::type(f, "mskAusFlur", "2");
        user::type(f, "mskBoden", "5");
        user::type(f, "mskBezug", p.eingabe);
        ASSERT_EQ(text(f, "mskBezug"), p.feld);
        user::click(f, "CommandEnde");
        auto t = zerlegungstabelle();
        ASSERT_TRUE(t);
        EXPECT_EQ(t->Rows().Count(), p.zeilen);
        zellenPrüfen(*t, {{19, 5, "300,00 €", p.gebührMarke}});
        if (p.zeilen == 22)
            zellenPrüfen(*t, {{21, 2, "Anteil in 1/1000", ""},
                              {21, 3, p.anteilText, ""},
                              {21, 5, p.anteilBetrag, ""}});
    }
}

TEST_F(ZerlegungTest, LargerFactorIsAppliedAndWrittenTiesGoToTheValueFactor) {
    // Land value, classification; fee of two source parcels (subtotal 300,00); block; factor.
    const std::tuple<const char*, int, const char*, const char*, const char*> fälle[] = {
        {"150", 0, "675,00", "30.23.1", "2,25"},
        {"50", 0, "450,00", "30.23.1", "1,5"},
        {"5", 1, "360,00", "30.23.2", "1,2"}};
    for (const auto& [bodenwert, klassifizierung, summe, block, faktor] : fälle) {
        SCOPED_TRACE(bodenwert);
        neuerFall();
        frmKat1& f = zerlegung();
        user::type(f, "mskAusFlur", "2");
        user::type(f, "mskBoden", bodenwert);
        user::chooseListEntry(f, "cmbKlassifizierung", klassifizierung);
        EXPECT_EQ(caption(f, "lblSumme"), summe);
        user::click(f, "CommandEnde");
        auto t = zerlegungstabelle();
        ASSERT_TRUE(t);
        EXPECT_EQ(ZelleEinlesen(*t, 15, 1), block);
        EXPECT_EQ(ZelleEinlesen(*t, 17, 3), faktor);
    }
}

TEST_F(ZerlegungTest, SplinterBoxShowsItsFactorAndReducesTheFee) {
    frmKat1& f = zerlegung();
    user::type(f, "mskAusFlur", "2");
    user::type(f, "mskBoden", "5");
    EXPECT_FALSE(f.label("lblSplitter").visible());
    user::click(f, "sevCheck1");
    EXPECT_TRUE(f.label("lblSplitter").visible());
    EXPECT_EQ(caption(f, "lblSplitter"), "Faktor                0,7");
    EXPECT_EQ(caption(f, "lblSumme"), "210,00");
    user::click(f, "sevCheck1");
    EXPECT_FALSE(f.label("lblSplitter").visible());
    EXPECT_EQ(caption(f, "lblSumme"), "300,00");
}

TEST_F(ZerlegungTest, CountBeyondSixteenBitsInTheTableIsLoggedNotWrapped) {
    frmKat1& f = zerlegung();
    user::type(f, "mskGesamt", "53");
    user::click(f, "CommandEnde");
    zerlegungstabelle()->Cell(8, 3).Range().InsertAfter("99999");
    speichernUndNeuÖffnen();
    frmKat1& wieder = zerlegung(true);
    EXPECT_EQ(text(wieder, "mskNeuFlur51"), "    ");
    EXPECT_EQ(text(wieder, "mskNeuFlur"), "50  ");
    EXPECT_TRUE(log.contains("Error 6")) << log.sink().all();
    EXPECT_TRUE(log.contains("TabelleEinlesen")) << log.sink().all();
}

}  // namespace
}  // namespace tarvex::testing
