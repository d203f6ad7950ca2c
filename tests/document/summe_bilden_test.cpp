// SummeBilden on real templates and a real host database.

#include "document/summe_bilden.h"

#include <cstdlib>

#include "totals_fixture.h"

namespace tarvex::testing {
namespace {

using Posten = std::vector<std::pair<std::string, std::string>>;
using Zeilen = std::vector<std::string>;
const Posten dreiPosten = {{"150,00", ""}, {"230,00", ""}, {"40,00", ""}};

struct Fall {
    Posten posten;
    std::int16_t satz = 19, rabatt = 0, prozent = 100;
    double absolut = 0;
    int art = 0;
    std::string vorlage = "template-basic.docx";
    Zeilen tabelle;
    std::string gespeichert;
    std::size_t fehler = 0;
};

// Readable in test names and failure messages.
[[maybe_unused]] void PrintTo(const Fall& c, std::ostream* out) { *out << c.vorlage << ", Satz " << c.satz << ", Rabatt " << c.rabatt << ", Abschlag " << c.prozent << " % / " << c.absolut << ", Art " << c.art; }

class Totals : public TotalsTest, public ::testing::WithParamInterface<Fall> {};

TEST_P(Totals, TableAndStoredAmounts) {
    const Fall& f = GetParam();
    auto& k = auftragskontext();
    k.Mehrwertsteuersatz = f.satz, k.Rabatt = f.rabatt, k.AbschlagProzent = f.prozent;
    k.AbschlagAbsolut = f.absolut;
    öffnen(f.vorlage);
    gebührenTabelle(f.posten);
    rechnungSetzen(f.art);
    SummeBilden(false);
    speichernUndNeuÖffnen();

    EXPECT_EQ(zeilen(summenTabelle()), f.tabelle);
    EXPECT_EQ(summenTabelle() == doc->Tables().Item(doc->Tables().Count()),
              f.vorlage == "template-no-start.docx");
    EXPECT_EQ(gespeichert(), f.gespeichert);
    EXPECT_EQ(log.count(), f.fehler) << log.sink().all();
    EXPECT_EQ(log.contains("Error 11: ") && log.contains("GebührenTabelle.SummeBilden"),
              f.fehler > 0);
}

const Zeilen grundfall = {" |Summe||420,00 €", "|Mehrwertsteuer 19 %|420,00 €|79,80 €", "|||",
                          "|Rechnungsbetrag||499,80 €"};
INSTANTIATE_TEST_SUITE_P(
    Cases, Totals,
    ::testing::Values(
        Fall{.posten = dreiPosten, .tabelle = grundfall, .gespeichert = "42000|49980|0|190"},
        // "no" is not counted, "7" makes its own row after 19 %, "0" is free of VAT.
        Fall{.posten = {{"100,00", ""}, {"50,00", "no"}, {"200,00", "7"}, {"30,00", "0"}},
             .tabelle = {" |Summe||330,00 €", "|Mehrwertsteuer 19 %|100,00 €|19,00 €",
                         "|Mehrwertsteuer 7 %|200,00 €|14,00 €", "|||",
                         "|Rechnungsbetrag||363,00 €"},
             .gespeichert = "30000|36300|3000|190"},
        Fall{.posten = {{"1.000,00", ""}},
             .rabatt = 10,
             .tabelle = {" |Summe||1.000,00 €", "|\rAbzüglich dem Rabatt von 10%||\r900,00 €",
                         "|Mehrwertsteuer 19 %|900,00 €|171,00 €", "|||",
                         "|Rechnungsbetrag||1.071,00 €"},
             .gespeichert = "90000|107100|0|190"},
        Fall{.posten = {{"1.000,00", ""}},
             .prozent = 30,
             .tabelle = {" |Summe||1.000,00 €", "|\rAbschlagszahlung von 30%||\r300,00 €",
                         "|Mehrwertsteuer 19 %|300,00 €|57,00 €", "|||",
                         "|Rechnungsbetrag||357,00 €"},
             .gespeichert = "30000|35700|0|190"},
        Fall{.posten = {{"1.000,00", ""}},
             .absolut = 500,
             .tabelle = {" |Summe||1.000,00 €", "|\rAbschlagszahlung von ||\r500,00 €",
                         "|Mehrwertsteuer 19 %|500,00 €|95,00 €", "|||",
                         "|Rechnungsbetrag||595,00 €"},
             .gespeichert = "50000|59500|0|190"},
        // Netto 0: the share cannot be divided out, so the advance is charged without VAT.
        Fall{.posten = {{"0,00", ""}},
             .absolut = 500,
             .tabelle = {" |Summe||0,00 €", "|\rAbschlagszahlung von ||\r500,00 €",
                         "|Mehrwertsteuer 19 %|0,00 €|0,00 €", "|||", "|Rechnungsbetrag||500,00 €"},
             .gespeichert = "0|50000|50000|190",
             .fehler = 1},
        Fall{.posten = dreiPosten,
             .satz = 0,
             .tabelle = {" |Summe||420,00 €", "|||", "|Rechnungsbetrag||420,00 €"},
             .gespeichert = "0|42000|42000|0"},
        // A credit stores negative amounts; the document shows them positive.
        // Without "lumStart" the totals close the document.
        Fall{.posten = dreiPosten,
             .art = 7,
             .vorlage = "template-no-start.docx",
             .tabelle = grundfall,
             .gespeichert = "-42000|-49980|0|190"}));

// To look at a result: TARVEX_TOTALS_OUTPUT=/tmp/out.docx, run this test, then
//   soffice --headless --convert-to pdf /tmp/out.docx && pdftoppm -png -r 60 /tmp/out.pdf page
// Page 1 shows the totals table at "lumStart" and the deadline sentence near the bottom.
TEST_F(TotalsTest, TotalsTableAtLumStartInBoldWhereDueAndTheDeadline) {
    öffnen("template-basic.docx");
    gebührenTabelle(dreiPosten);
    SummeBilden(true);
    speichernUndNeuÖffnen();
    if (const char* ziel = std::getenv("TARVEX_TOTALS_OUTPUT"))
        std::filesystem::copy_file(path, ziel, std::filesystem::copy_options::overwrite_existing);

    word::Table t = summenTabelle();
    EXPECT_EQ(t, doc->Tables().Item(2));  // at "lumStart", before the fee table at the end
    EXPECT_TRUE(t.Cell(4, 2).Range().Bold() && t.Cell(4, 4).Range().Bold());
    EXPECT_FALSE(t.Cell(1, 4).Range().Bold());
    ASSERT_EQ(doc->Shapes().Count(), 1);
    EXPECT_EQ(doc->Shapes().Item(1).TextRange().Text().substr(0, 25), "Zahlbar bis  15.03.2011 .");
}

class FinalInvoice : public TotalsTest {
  protected:
    void SetUp() override {
        TotalsTest::SetUp();
        runSql(dbFile, R"(
            INSERT INTO Rechnung VALUES (1, '2011-001', 5, 4711, 30000, 35700, 0, 190);
            INSERT INTO Rechnung VALUES (2, '2011-002', 5, 4711, 20000, 24800, 1000, 190);
            INSERT INTO Rechnung VALUES (9, '2010-099', 5, 815, 10000, 11900, 0, 190);
            INSERT INTO Termine VALUES (1, 1, 8, '2011-02-01');
            INSERT INTO Termine VALUES (2, 2, 1, '2011-01-01');
            INSERT INTO Termine VALUES (3, 2, 8, '2011-02-15');)");
        öffnen("template-basic.docx");
        gebührenTabelle({{"1.000,00", ""}});
    }
};

TEST_F(FinalInvoice, ListsAndDeductsTheAdvanceInvoicesOfItsOrder) {
    rechnungSetzen(4);
    SummeBilden(false);
    speichernUndNeuÖffnen();

    word::Table t = summenTabelle();
    EXPECT_EQ(zeilen(t),
              (Zeilen{" |Summe||1.000,00 €", "|Mehrwertsteuer 19 %|1.000,00 €|190,00 €", "|||",
                      "|Gesamtsumme||1.190,00 €", "|||", "|Entgeld|Umsatzsteuer|Summe",
                      "|1.000,00 €|190,00 €|1.190,00 €", "abzgl. Anzahlungen|||",
                      "Rechnung Nr. 2011-001 vom 01.02.2011|300,00 €|57,00 €|357,00 €",
                      "Rechnung Nr. 2011-002 vom 15.02.2011|210,00 €|38,00 €|248,00 €",
                      "Rechnungsbetrag|490,00 €|95,00 €|585,00 €", "|||"}));
    EXPECT_TRUE(t.Cell(11, 1).Range().Bold());
    EXPECT_EQ(gespeichert(), "49000|58500|0|190");
}

// With a VAT-free amount on the invoice "Entgeld" is still the invoice's net: the gross of the
// block is net plus the VAT charged, not the net at the standard rate.
TEST_F(FinalInvoice, TheBlockAddsTheVatChargedWhenPartOfTheNetIsFreeOfVat) {
    gebührenTabelle({{"735,00", ""}, {"950,00", "0"}});
    rechnungSetzen(4);
    SummeBilden(false);

    const Zeilen alle = zeilen(summenTabelle());
    ASSERT_EQ(alle.size(), 12u);
    EXPECT_EQ(alle[0], " |Summe||2.685,00 €");
    EXPECT_EQ(alle[6], "|2.685,00 €|329,65 €|3.014,65 €");
    EXPECT_EQ(alle[10], "Rechnungsbetrag|2.175,00 €|234,65 €|2.409,65 €");
    EXPECT_EQ(gespeichert(), "217500|240965|0|190");
}

// A host whose date column holds plain text (here with a time of day) still gets German dates.
TEST_F(FinalInvoice, AdvanceInvoicesAreDatedTheGermanWayWhateverTheColumnHolds) {
    runSql(dbFile, R"(
        DROP TABLE Termine;
        CREATE TABLE Termine (ID_Termin INTEGER PRIMARY KEY, ID_Rechnungsnummer INTEGER,
                              ID_Terminart INTEGER, Datum TEXT);
        INSERT INTO Termine VALUES (1, 1, 8, '2011-02-01 08:15:00');
        INSERT INTO Termine VALUES (2, 2, 8, '2011-02-15');)");
    rechnungSetzen(4);
    SummeBilden(false);

    const Zeilen alle = zeilen(summenTabelle());
    ASSERT_EQ(alle.size(), 12u);
    EXPECT_EQ(alle[8].substr(0, 36), "Rechnung Nr. 2011-001 vom 01.02.2011");
    EXPECT_EQ(alle[9].substr(0, 36), "Rechnung Nr. 2011-002 vom 15.02.2011");
}

TEST_F(FinalInvoice, AnOrderNumberHeldAsTextCannotWidenTheQuery) {
    runSql(dbFile,
           "UPDATE Rechnung SET ID_Auftragsnummer = '815 OR 1=1' WHERE ID_Rechnungsnummer = 3");
    rechnungSetzen(4);
    SummeBilden(false);
    EXPECT_TRUE(log.contains("Error 13: ")) << log.sink().all();
    EXPECT_EQ(summenTabelle().Rows().Count(), 4);
    EXPECT_EQ(gespeichert(), "100000|119000|0|190");
}

TEST_F(TotalsTest, RepeatedRunsKeepEverySentenceAndParagraphOfTheLetter) {
    öffnen("template-edge.docx");
    gebührenTabelle(dreiPosten);
    SummeBilden(false);
    const std::string ersterLauf = doc->Content().Text();
    summenTabelle().Delete();
    SummeBilden(false);
    speichernUndNeuÖffnen();

    EXPECT_EQ(doc->Content().Text(), ersterLauf);
    EXPECT_EQ(absatz("Nettobetrag:"), "Nettobetrag:      420,00 €");
    EXPECT_EQ(absatz("Umsatzsteuer 19 %:"), "Umsatzsteuer 19 %:       79,80 € ");
    EXPECT_EQ(absatz("Zahlbar"), "Zahlbar ohne Abzug.");
    EXPECT_EQ(absatz("Der Bruttobetrag"),
              "Der Bruttobetrag      499,80 € beträgt 1.234,56 € laut Anlage.");
    EXPECT_EQ(absatz("Auslagen:"), "Auslagen:        0,00 € 12,50 EUR (umsatzsteuerfrei).");
    EXPECT_EQ(absatz("Gesamt:"), "Gesamt:      499,80 € 1.234,56€ inklusive Umsatzsteuer.");
    EXPECT_EQ(absatz("Bitte"),
              "Bitte überweisen Sie      499,80 € unter Angabe der Rechnungsnummer.");
}

}  // namespace
}  // namespace tarvex::testing
