#include "invoice_amounts.h"

#include <algorithm>
#include <thread>

#include "platform/dao/dao.h"

namespace tarvex::host {

namespace {

// How long one attempt waits before the waiting side hears from us again.
constexpr std::chrono::milliseconds kSlice{200};

std::shared_ptr<dao::Recordset> record(dao::Database& database, std::int32_t invoice) {
    auto rs = database.openRecordset(
        "SELECT * FROM Rechnung WHERE ID_Rechnungsnummer = " + std::to_string(invoice),
        dao::RecordsetType::Dynaset);
    if (rs->eof()) throw Error(errc::noCurrentRecord);
    return rs;
}

bool same(const Variant& a, const Variant& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    if (a.isString() || b.isString()) return a.isString() && b.isString() &&
                                             a.toString() == b.toString();
    return a.toDouble() == b.toDouble();
}

}  // namespace

const std::vector<std::string>& writtenFields() {
    static const std::vector<std::string> fields = {"NettoRechnung", "Brutto",
                                                    "MehrwertsteuerFreierbetrag",
                                                    "Mehrwertsteuersatz"};
    return fields;
}

Amounts readAmounts(dao::Database& database, std::int32_t invoice) {
    auto rs = record(database, invoice);
    Amounts amounts;
    for (const std::string& field : writtenFields()) amounts.emplace_back(field, rs->field(field)->value());
    return amounts;
}

bool holdsAmounts(dao::Database& database, std::int32_t invoice, const Amounts& amounts) {
    auto rs = record(database, invoice);
    return std::all_of(amounts.begin(), amounts.end(), [&](const auto& entry) {
        return same(rs->field(entry.first)->value(), entry.second);
    });
}

void writeAmounts(dao::Database& database, std::int32_t invoice, const Amounts& amounts) {
    auto rs = record(database, invoice);
    rs->edit();
    for (const auto& [field, value] : amounts) rs->field(field)->setValue(value);
    rs->update();
}

void beginWriting(dao::Database& database, std::chrono::milliseconds patience,
                  const std::function<void(bool)>& waitNotice) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    bool waited = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        try {
            database.beginExclusiveTrans(std::clamp(left, std::chrono::milliseconds(0), kSlice));
            break;
        } catch (const Error& e) {
            if (e.number() != dao::daoerr::locked || std::chrono::steady_clock::now() >= deadline) {
                if (waited && waitNotice) waitNotice(false);
                throw;
            }
        }
        waited = true;
        if (waitNotice) waitNotice(true);
    }
    if (waited && waitNotice) waitNotice(false);
}

}  // namespace tarvex::host
