#pragma once
// A copy of an invoice template as the host's document, a host database made from schema.sql
// with invoice 3 of order 4711, an order context at 19 % without discount, today 01.03.2011,
// a captured log. Fee tables are built with the document engine, as a calculator leaves them.

#include <regex>

#include "common/host_database.h"
#include "common/invoice_fixture.h"

namespace tarvex::testing {

class TotalsTest : public InvoiceTest {
  protected:
    void SetUp() override {
        InvoiceTest::SetUp();
        plattform().clock = fixedClock(*parseIsoDay("2011-03-01"));
        auftragskontext().Mehrwertsteuersatz = 19;
        auftragskontext().AbschlagProzent = 100;
        dbFile = schemaDatabase(folder.path(),
                                "INSERT INTO Version VALUES (1, 'Zahlbar bis <14>.', 25.5, 1);"
                                "INSERT INTO Rechnung (ID_Rechnungsnummer, Rechnungsnummer,"
                                " ID_Auftragsnummer) VALUES (3, '2011-003', 4711);");
        sitzungsdaten().NeueAbfrage = dao::makeSqliteWorkspace()->openDatabase(dbFile.string());
    }

    // Invoice 3 of the given kind as the record set the host hands to Show.
    void rechnungSetzen(int art) {
        runSql(dbFile, "UPDATE Rechnung SET Rechnungsart = " + std::to_string(art) +
                           " WHERE ID_Rechnungsnummer = 3");
        sitzungsdaten().Rechnung = sitzungsdaten().NeueAbfrage->openRecordset(
            "SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 3", dao::RecordsetType::Dynaset);
    }
    // The stored amounts of invoice 3: "NettoRechnung|Brutto|MehrwertsteuerFreierbetrag|Satz".
    std::string gespeichert() {
        auto rs = sitzungsdaten().NeueAbfrage->openRecordset(
            "SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = 3");
        std::string text;
        for (auto feld :
             {"NettoRechnung", "Brutto", "MehrwertsteuerFreierbetrag", "Mehrwertsteuersatz"})
            text += (text.empty() ? "" : "|") + rs->field(feld)->value().toString();
        return text;
    }
    // Every row of a table as zeile() gives it.
    static std::vector<std::string> zeilen(const word::Table& t) {
        std::vector<std::string> alle;
        for (long r = 1; r <= t.Rows().Count(); ++r) alle.push_back(zeile(t, r));
        return alle;
    }

    // A fee table at the end of the document: heading and header rows, the amounts in column 5
    // followed by " €", each with its comment ("" for none), the table tag on cell (1,5).
    void gebührenTabelle(const std::vector<std::pair<std::string, std::string>>& posten) {
        word::Range platz = doc->Content();
        platz.Collapse(word::CollapseDirection::End);
        platz.InsertParagraphAfter();
        platz.Collapse(word::CollapseDirection::End);
        word::Table t = doc->Tables().Add(platz, static_cast<long>(posten.size()) + 2, 5);
        t.Cell(1, 1).Range().InsertAfter("Zerlegung nach Nr. 30.1\r\n");
        t.Cell(2, 5).Range().InsertAfter("Gebühr [€]");
        for (std::size_t i = 0; i < posten.size(); ++i) {
            const long r = static_cast<long>(i) + 3;
            t.Cell(r, 5).Range().InsertAfter("  " + posten[i].first + " €");
            if (!posten[i].second.empty())
                doc->Comments().Add(t.Cell(r, 5).Range(), posten[i].second);
        }
        doc->Comments().Add(t.Cell(1, 5).Range(), "TARVEX_5");
    }

    word::Table summenTabelle() {
        if (auto t = tabelleMit("RE_Summe")) return *t;
        throw std::runtime_error("no totals table");
    }
    // Row r as its cells joined by "|", without end marks and without the runs of blanks
    // that right-align amounts.
    static std::string zeile(const word::Table& t, long r) {
        std::string text;
        for (long c = 1; c <= t.Rows().Item(r).CellCount(); ++c) {
            const std::string zelle = t.Cell(r, c).Range().Text();
            text += (c > 1 ? "|" : "") + zelle.substr(0, zelle.size() - 2);
        }
        return std::regex_replace(text, std::regex("  +"), "");
    }
    // The body paragraph that contains `teil`.
    std::string absatz(const std::string& teil) {
        const std::string text = doc->Content().Text();
        const auto p = text.find(teil);
        const auto anfang = text.rfind('\r', p) + 1;
        return p == std::string::npos ? "" : text.substr(anfang, text.find('\r', p) - anfang);
    }

    std::filesystem::path dbFile;
};

}  // namespace tarvex::testing
