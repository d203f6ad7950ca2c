#include "calculators/faktoren.h"

#include "calculators/zahlen.h"
#include "document/fee_table.h"
#include "support/number_text.h"
#include "support/text_markieren.h"

namespace tarvex {

const std::vector<std::string>& Klassifizierungen() {
    static const std::vector<std::string> einträge = {
        "Bundesfernstraßen, Bundeswasserstraßen, Landesstraßen, Bahnen, Gewässer 1. Ordnung",
        "Kreisstraßen, Gemeindestraßen, Gewässer 2. Ordnung",
        "Wege, sonstige Gewässer, Dämme",
    };
    return einträge;
}

std::string Wertfaktor(std::int16_t v) {
    if (v > 1000) return "3,75";
    if (v > 300) return "3,0";
    if (v > 100) return "2,25";
    if (v > 10) return "1,5";
    return "1,0";
}

std::string Klassifizierungsfaktor(int position) {
    if (position == 0) return "1,5";
    if (position == 1) return "1,2";
    return "1,0";
}

std::string FaktorA(bool sonstigeSondergebiete) { return sonstigeSondergebiete ? "3,0" : "1,7"; }

void mskBoden_LostFocus(KalkulatorFenster& fenster) {
    ErrorTrap trap("Rechnung", "mskBoden");
    std::int16_t v = 0;
    trap.step(10, [&] { v = Anzahl(fenster.masked("mskBoden").text()); });
    trap.step(20, [&] { fenster.label("lblFaktor").setCaption(Wertfaktor(v)); });
    trap.step(30, [&] { fenster.GebührBerechnen(); });
}

void cmbKlassifizierung_LostFocus(KalkulatorFenster& fenster, const std::string& faktorLabel) {
    const int position = fenster.combo("cmbKlassifizierung").listIndex();
    fenster.label(faktorLabel).setCaption(Klassifizierungsfaktor(position));
    fenster.GebührBerechnen();
}

void sevOption_Click(KalkulatorFenster& fenster, bool sonstigeSondergebiete) {
    fenster.label("lblDichtefaktor").setCaption(FaktorA(sonstigeSondergebiete));
    fenster.GebührBerechnen();
}

void BodenwertAnmelden(KalkulatorFenster& fenster) {
    fenster.on("mskBoden", ui::Event::GotFocus, [&fenster](ui::EventArgs&) {
        if (ui::Control* c = fenster.find("mskBoden")) TextMarkieren(*c);
    });
    fenster.on("mskBoden", ui::Event::LostFocus,
               [&fenster](ui::EventArgs&) { mskBoden_LostFocus(fenster); });
}

void KlassifizierungAnmelden(KalkulatorFenster& fenster, const std::string& faktorLabel) {
    fenster.on("cmbKlassifizierung", ui::Event::LostFocus, [&fenster, faktorLabel](ui::EventArgs&) {
        cmbKlassifizierung_LostFocus(fenster, faktorLabel);
    });
}

void FaktorAAnmelden(KalkulatorFenster& fenster) {
    fenster.on("sevOption1", ui::Event::Click,
               [&fenster](ui::EventArgs&) { sevOption_Click(fenster, false); });
    fenster.on("sevOption2", ui::Event::Click,
               [&fenster](ui::EventArgs&) { sevOption_Click(fenster, true); });
}

bool KlassifizierungGilt(double wertfaktor, double klassifizierungsfaktor) {
    return klassifizierungsfaktor > wertfaktor;
}

double angewandterFaktor(ui::Form& fenster) {
    const double wert = CVal(fenster.label("lblFaktor").caption());
    const double klasse = CVal(fenster.label("lblStrasse").caption());
    return KlassifizierungGilt(wert, klasse) ? klasse : wert;
}

void FaktorZeilenSchreiben(ErrorTrap& trap, word::Table& tabelle, std::int16_t zeile,
                           ui::Form& fenster) {
    bool klassifizierung = false;
    trap.step(10, [&] {
        klassifizierung = KlassifizierungGilt(CVal(fenster.label("lblFaktor").caption()),
                                              CVal(fenster.label("lblStrasse").caption()));
    });
    const auto schreibe = [&](int schritt, short spalte, const std::function<std::string()>& text) {
        trap.step(20,
                  [&] { wordTabelle(tabelle, Zeile(zeile, schritt), spalte, text(), false, ""); });
    };
    if (!klassifizierung) {
        schreibe(0, 1, [] { return "30.23.1"; });
        schreibe(0, 2, [] { return "Wertfaktor"; });
        schreibe(1, 2, [] { return "Bodenwert"; });
        schreibe(1, 3, [] { return "Faktor"; });
        schreibe(2, 2, [&] { return fenster.masked("mskBoden").text() + " €/m²"; });
        schreibe(2, 3, [&] { return fenster.label("lblFaktor").caption(); });
    } else {
        schreibe(0, 1, [] { return "30.23.2"; });
        schreibe(0, 2, [] { return "Wertfaktor"; });
        schreibe(1, 2, [] { return "Klassifizierung"; });
        schreibe(1, 3, [] { return "Faktor"; });
        schreibe(2, 2, [&] { return fenster.combo("cmbKlassifizierung").text(); });
        schreibe(2, 3, [&] { return fenster.label("lblStrasse").caption(); });
    }
}

}  // namespace tarvex
