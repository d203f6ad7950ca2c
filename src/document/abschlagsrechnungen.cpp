// A final invoice deducts the earlier advance invoices of its order: below the totals it lists
// them by number and date and ends with the amount that remains to be paid.

#include <cmath>
#include <string>

#include "document/host_daten.h"
#include "document/summen_intern.h"
#include "plugin/session/sitzungsdaten.h"

namespace tarvex::summen {

namespace {

constexpr int Schlussrechnung = 4;
constexpr int Abschlagsrechnung = 5;
constexpr int Rechnungsdatum = 8;  // kind of the invoice's date entry in Termine

word::Table& tabelle(std::optional<word::Table>& t) {
    if (!t) throw Error(errc::objectNotSet);
    return *t;
}

double cent(const dao::Recordset& satz, const char* feld) {
    return satz.field(feld)->value().toDouble();
}

}  // namespace

std::vector<long> AbschlagsrechnungenAbziehen(ErrorTrap& trap, std::optional<word::Table>& t,
                                              Summen& s) {
    std::vector<long> rechnungsZeilen;
    const auto rechnung = sitzungsdaten().Rechnung;
    if (!rechnung) return rechnungsZeilen;
    bool schluss = false;
    trap.step(710, [&] {
        schluss = rechnung->field("Rechnungsart")->value().toDouble() == Schlussrechnung;
    });
    if (!schluss) return rechnungsZeilen;
    std::shared_ptr<dao::Recordset> frühere;
    trap.step(720, [&] {
        frühere = Datenbank().openRecordset(
            "SELECT * FROM Rechnung WHERE ID_Auftragsnummer = " +
                SchlüsselText(*rechnung, "ID_Auftragsnummer") +
                " AND Rechnungsart = " + std::to_string(Abschlagsrechnung),
            dao::RecordsetType::Dynaset);
    });
    if (!frühere || frühere->eof()) return rechnungsZeilen;

    double restNetto = s.Netto2, restMwSt = s.MwSt, restBrutto = s.Netto2 + s.MwSt;
    // The gross of the whole job is its net plus the VAT actually charged, so that "Entgeld"
    // is the invoice's net also with VAT-free or reduced-rate amounts on it.
    const double gesamt = s.Netto2 + s.MwSt;
    trap.step(730, [&] {
        tabelle(t).Cell(s.ZS, 2).Range().Delete();
        ZelleSchreiben(tabelle(t), s.ZS, 2, "Gesamtsumme", true);
    });
    trap.step(740, [&] {
        for (int i = 0; i < 3; ++i) tabelle(t).Rows().Add();
    });
    // Row ZS + 1 stays empty between the totals and the block.
    const long K = s.ZS + 2;
    trap.step(750, [&] { ZelleSchreiben(tabelle(t), K, 2, "Entgeld", false); });
    trap.step(751, [&] { ZelleSchreiben(tabelle(t), K, 3, "Umsatzsteuer", std::nullopt); });
    trap.step(752, [&] { ZelleSchreiben(tabelle(t), K, 4, "Summe", false); });
    trap.step(760, [&] { tabelle(t).Rows().Add(); });
    trap.step(761, [&] { ZelleSchreiben(tabelle(t), K + 1, 2, Betrag(gesamt - s.MwSt), false); });
    trap.step(762, [&] { ZelleSchreiben(tabelle(t), K + 1, 3, Betrag(s.MwSt), std::nullopt); });
    trap.step(763, [&] { ZelleSchreiben(tabelle(t), K + 1, 4, Betrag(gesamt), false); });
    trap.step(770, [&] { tabelle(t).Rows().Add(); });
    trap.step(771,
              [&] { ZelleSchreiben(tabelle(t), K + 2, 1, "abzgl. Anzahlungen", std::nullopt); });

    long R = K + 3;
    for (bool weiter = true; weiter && !frühere->eof(); ++R) {
        trap.step(780, [&] { tabelle(t).Rows().Add(); });
        std::shared_ptr<dao::Recordset> termin;
        trap.step(781, [&] {
            termin = Datenbank().openRecordset(
                "SELECT * FROM Termine WHERE ID_Rechnungsnummer = " +
                    SchlüsselText(*frühere, "ID_Rechnungsnummer") +
                    " AND ID_Terminart = " + std::to_string(Rechnungsdatum),
                dao::RecordsetType::Dynaset);
        });
        std::string name;
        trap.step(782, [&] {
            name = "Rechnung Nr. " + frühere->field("Rechnungsnummer")->value().toString();
        });
        // Without a date entry the failure is logged and the row still names the invoice.
        trap.step(783, [&] {
            if (!termin) throw Error(errc::objectNotSet);
            // Written as a German date; a stored time of day is dropped.
            const Date datum = termin->field("Datum")->value().toDate();
            name += " vom " + germanDateText(Date{std::floor(datum.serial)});
        });
        trap.step(784, [&] { ZelleSchreiben(tabelle(t), R, 1, name, false); });
        trap.step(785, [&] {
            const double netto =
                (cent(*frühere, "NettoRechnung") + cent(*frühere, "MehrwertsteuerFreierbetrag")) /
                100.0;
            ZelleSchreiben(tabelle(t), R, 2, Betrag(netto), false);
        });
        trap.step(786, [&] {
            const double steuer = (cent(*frühere, "Brutto") - cent(*frühere, "NettoRechnung") -
                                   cent(*frühere, "MehrwertsteuerFreierbetrag")) /
                                  100.0;
            ZelleSchreiben(tabelle(t), R, 3, Betrag(steuer), false);
        });
        trap.step(787, [&] {
            ZelleSchreiben(tabelle(t), R, 4, Betrag(cent(*frühere, "Brutto") / 100.0), false);
        });
        trap.step(788, [&] {
            restNetto -=
                (cent(*frühere, "NettoRechnung") + cent(*frühere, "MehrwertsteuerFreierbetrag")) /
                100.0;
        });
        trap.step(789, [&] {
            restMwSt -= (cent(*frühere, "Brutto") - cent(*frühere, "NettoRechnung") -
                         cent(*frühere, "MehrwertsteuerFreierbetrag")) /
                        100.0;
        });
        trap.step(790, [&] { restBrutto -= cent(*frühere, "Brutto") / 100.0; });
        rechnungsZeilen.push_back(R);
        weiter = trap.step(791, [&] { frühere->moveNext(); });
    }

    trap.step(795, [&] { tabelle(t).Rows().Add(); });
    trap.step(796, [&] { ZelleSchreiben(tabelle(t), R, 1, "Rechnungsbetrag", true); });
    trap.step(797, [&] { ZelleSchreiben(tabelle(t), R, 2, Betrag(restNetto), true); });
    trap.step(798, [&] { ZelleSchreiben(tabelle(t), R, 3, Betrag(restMwSt), true); });
    trap.step(799, [&] { ZelleSchreiben(tabelle(t), R, 4, Betrag(restBrutto), true); });

    s.Basis = restNetto;
    s.MwSt = restMwSt;
    s.Netto2 = restBrutto - restMwSt;
    return rechnungsZeilen;
}

}  // namespace tarvex::summen
