#include "invoice_records.h"

#include "platform/dao/dao.h"
#include "platform/variant/variant.h"

namespace tarvex::host {

namespace {

std::int64_t cents(const dao::Recordset& r, const char* field) {
    const Variant v = r.field(field)->value();
    return v.isNull() ? 0 : static_cast<std::int64_t>(v.toDouble());
}

// SQLite hands an aggregate over a DATE column back as plain text.
std::string dateText(const Variant& v) {
    if (v.isNull() || v.isEmpty()) return {};
    if (v.type() == Variant::Type::Date) return germanDateText(v.toDate());
    const std::string text = v.toString();
    if (auto date = parseIsoDate(text)) return germanDateText(*date);
    return text;
}

}  // namespace

std::vector<InvoiceSummary> listInvoices(dao::Database& database) {
    auto r = database.openRecordset(
        "SELECT r.ID_Rechnungsnummer, r.Rechnungsnummer, r.Rechnungsart, r.ID_Auftragsnummer,"
        " r.NettoRechnung, r.Brutto, r.MehrwertsteuerFreierbetrag,"
        " (SELECT MIN(t.Datum) FROM Termine t WHERE t.ID_Rechnungsnummer = r.ID_Rechnungsnummer"
        "  AND t.ID_Terminart = 8) AS Rechnungsdatum"
        " FROM Rechnung r ORDER BY r.ID_Rechnungsnummer");
    std::vector<InvoiceSummary> list;
    for (; !r->eof(); r->moveNext()) {
        InvoiceSummary s;
        s.id = r->field("ID_Rechnungsnummer")->value().toLong();
        s.number = r->field("Rechnungsnummer")->value().toString();
        const Variant kind = r->field("Rechnungsart")->value();
        s.kind = kind.isNull() ? 0 : kind.toLong();
        const Variant order = r->field("ID_Auftragsnummer")->value();
        if (!order.isNull()) s.order = order.toLong();
        s.date = dateText(r->field("Rechnungsdatum")->value());
        s.netCents = cents(*r, "NettoRechnung");
        s.grossCents = cents(*r, "Brutto");
        s.vatFreeCents = cents(*r, "MehrwertsteuerFreierbetrag");
        list.push_back(std::move(s));
    }
    return list;
}

std::string invoiceKindText(int kind) {
    switch (kind) {
        case 4:
            return "Schlussrechnung";
        case 5:
            return "Abschlagsrechnung";
        case 7:
            return "Gutschrift";
        default:
            return "Rechnung";
    }
}

std::string euroText(std::int64_t cents) {
    // Built from the integer so that no amount is ever rounded on its way to the screen.
    const bool negative = cents < 0;
    const std::uint64_t magnitude =
        negative ? std::uint64_t(0) - static_cast<std::uint64_t>(cents) : std::uint64_t(cents);
    // Thousands points are placed while copying, not inserted afterwards: fewer moves, and
    // gcc's -O3 flow analysis no longer sees a possible overlap in std::string::insert.
    const std::string digits = std::to_string(magnitude / 100);
    std::string euros;
    euros.reserve(digits.size() + digits.size() / 3);
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0) euros += '.';
        euros += digits[at];
    }
    const unsigned rest = static_cast<unsigned>(magnitude % 100);
    return (negative ? "-" : "") + euros + "," + (rest < 10 ? "0" : "") + std::to_string(rest) +
           " €";
}

}  // namespace tarvex::host
