#include "document/zahlungsziel.h"

#include <cctype>
#include <cmath>
#include <string>

#include "document/host_daten.h"
#include "plugin/session/plattform.h"
#include "plugin/session/sitzungsdaten.h"
#include "support/error_trap.h"
#include "support/number_text.h"

namespace tarvex {

namespace {

const std::string Name = "Zahlungsziel";
constexpr int Rechnungsdatum = 8;  // kind of the invoice's date entry in Termine

Date heute() {
    const auto& uhr = plattform().clock;
    if (!uhr) throw Error(errc::objectNotSet);
    const std::tm jetzt = uhr->localNow();
    return makeDate(jetzt.tm_year + 1900, jetzt.tm_mon + 1, jetzt.tm_mday);
}

// Bytes of the first `n` characters of `text` from byte `ab` on (UTF-8).
std::size_t zeichenLänge(const std::string& text, std::size_t ab, int n) {
    std::size_t i = ab;
    for (int gelesen = 0; i < text.size() && gelesen < n; ++gelesen) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return i - ab;
}

// The invoice's date entry when there is one, else today.
Date stichtag(ErrorTrap& trap) {
    Date tag{};
    trap.step(90, [&] { tag = heute(); });
    const auto rechnung = sitzungsdaten().Rechnung;
    if (!rechnung) return tag;
    trap.step(100, [&] {
        auto termin = summen::Datenbank().openRecordset(
            "SELECT ID_Terminart, ID_Rechnungsnummer, Datum From Termine "
            "WHERE (((ID_Terminart)=" +
                std::to_string(Rechnungsdatum) + ") AND ((ID_Rechnungsnummer)=" +
                summen::SchlüsselText(*rechnung, "ID_Rechnungsnummer") + "));",
            dao::RecordsetType::ForwardOnly);
        if (!termin->eof()) tag = termin->field("Datum")->value().toDate();
    });
    return tag;
}

// The template with the day count between "<" and ">" replaced by the due date.
std::string satzMitDatum(ErrorTrap& trap, const std::string& vorlage) {
    const auto p1 = vorlage.find('<');
    if (p1 == std::string::npos) return vorlage;
    // Only three characters are read as the day count: "<1000>" counts 100 days.
    const std::string fenster = vorlage.substr(p1 + 1, zeichenLänge(vorlage, p1 + 1, 3));
    const double tage = führendeZahl(fenster);
    const auto p2 = vorlage.find('>', p1 + 1);
    std::string rest;
    if (p2 != std::string::npos) {
        rest = vorlage.substr(p2 + 1);
    } else {
        // No closing ">": the sentence goes on after the digits of the day count.
        std::size_t ende = p1 + 1;
        while (ende < p1 + 1 + fenster.size() &&
               (std::isdigit(static_cast<unsigned char>(vorlage[ende])) || vorlage[ende] == ' '))
            ++ende;
        rest = vorlage.substr(ende);
    }
    // Whole days only: the sentence shows a date, never a time of day.
    const Date fällig{std::floor(stichtag(trap).serial) + std::floor(tage)};
    return vorlage.substr(0, p1) + " " + germanDateText(fällig) + " " + rest;
}

word::Alignment bündigkeit(double bund) {
    if (bund == 0) return word::Alignment::Left;
    if (bund == 1) return word::Alignment::Center;
    return word::Alignment::Right;
}

}  // namespace

void ZahlungsZiel(const std::shared_ptr<word::Document>& Doc, bool Zahlungsziel) {
    ErrorTrap trap("GebührenTabelle", "ZahlungsZiel");
    if (!trap.step(10, [&] {
            if (!Doc) throw Error(errc::objectNotSet);
        }))
        return;

    // Backwards, so that deleting a shape does not skip the one after it.
    long anzahl = 0;
    trap.step(20, [&] { anzahl = Doc->Shapes().Count(); });
    for (long i = anzahl; i >= 1; --i) {
        trap.step(30, [&] {
            word::Shape form = Doc->Shapes().Item(i);
            if (form.Name() == Name) form.Delete();
        });
    }
    if (!Zahlungsziel) return;

    std::shared_ptr<dao::Recordset> version;
    trap.step(40, [&] {
        version = summen::Datenbank().openRecordset("Version", dao::RecordsetType::Dynaset);
    });
    trap.step(41, [&] { version->moveFirst(); });
    const auto feld = [&](const char* name) {
        if (!version) throw Error(errc::objectNotSet);
        return version->field(name)->value();
    };

    trap.step(50, [&] {
        word::Range ende = Doc->Content();
        ende.Collapse(word::CollapseDirection::End);
        ende.Select();
    });
    std::optional<word::Shape> box;
    trap.step(60, [&] {
        box =
            Doc->Shapes().AddTextbox(word::TextOrientation::Horizontal, 70.5, 766.5, 450.75, 54.0);
        box->Select();
    });
    if (!box) return;
    word::Selection auswahl = Doc->Application().Selection();
    trap.step(61, [&] { auswahl.ShapeRange().SetName(Name); });
    trap.step(62, [&] {
        box->TextRange().Select();
        auswahl.Collapse(word::CollapseDirection::Start);
    });
    trap.step(63, [&] { box->Select(); });
    trap.step(70, [&] { box->SetFillVisible(false); });
    trap.step(71, [&] { box->SetFillTransparency(1.0); });
    trap.step(72, [&] { box->SetLineVisible(false); });
    trap.step(73, [&] { box->SetRelativeVerticalPosition(word::RelativeVerticalPosition::Page); });
    trap.step(74, [&] {
        const float abstand = feld("AbstandZahlungsziel").toSingle();
        box->SetTop(word::Application::CentimetersToPoints(abstand));
    });
    trap.step(75, [&] { auswahl.SetParagraphAlignment(word::Alignment::Center); });

    std::string satz;
    trap.step(80, [&] { satz = feld("Zahlungsziel").toString(); });
    satz = satzMitDatum(trap, satz);
    trap.step(110, [&] {
        auswahl.SetParagraphAlignment(bündigkeit(feld("BundZahlungsziel").toDouble()));
    });
    trap.step(120, [&] { auswahl.TypeText(satz); });
}

}  // namespace tarvex
