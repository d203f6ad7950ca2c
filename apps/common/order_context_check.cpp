#include "order_context_check.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "database_problem.h"
#include "platform/dao/dao.h"
#include "platform/variant/variant.h"

namespace tarvex::host {

namespace {

struct Rule {
    const char* column;
    // The value as the plug-in converts it (raises when it cannot), and the range an office
    // can mean, in the column's own unit.
    std::function<double(const Variant&)> convert;
    double low, high;
    const char* unit;  // how the range is named in the message
};

const Rule kRules[] = {
    // Amounts are stored in cents as 32-bit numbers: a larger advance cannot be stored.
    {"AbschlagAbsolut", [](const Variant& v) { return v.toDouble(); }, 0.0,
     std::numeric_limits<std::int32_t>::max() / 100.0, "Euro"},
    {"AbschlagProzent", [](const Variant& v) { return v.toInteger(); }, 0, 100, "Prozent"},
    {"Zahlungsziel", [](const Variant& v) { return v.toBool() ? 1.0 : 0.0; }, 0, 1, ""},
    // Tenths of a percent, read as whole percent by the plug-in.
    {"Mehrwertsteuersatz",
     [](const Variant& v) { return Variant(divide(v.toDouble(), 10.0)).toInteger() * 10.0; }, 0,
     1000, "Zehntelprozent"},
    {"Rabatt", [](const Variant& v) { return v.toInteger(); }, 0, 100, "Prozent"},
};

std::string shown(const Variant& value) {
    return value.isString() ? "„" + value.toString() + "“" : value.toString();
}

}  // namespace

void checkOrderContext(dao::Database& database, std::int32_t user) {
    const std::string row = "TempDoc, Benutzer " + std::to_string(user) + ": ";
    std::shared_ptr<dao::Recordset> tempDoc;
    try {
        tempDoc = database.openRecordset("SELECT * FROM TempDoc WHERE ID_Benutzer = " +
                                         std::to_string(user));
    } catch (const Error& e) {
        throw HostError("Der Auftrag kann nicht gelesen werden: " + databaseProblem(e),
                        databaseOutcome(e));
    }
    if (tempDoc->eof())
        throw HostError("Für Benutzer " + std::to_string(user) +
                        " ist kein Auftrag angelegt (keine Zeile in TempDoc); nichts geschrieben");
    for (const Rule& rule : kRules) {
        Variant value;
        try {
            value = tempDoc->field(rule.column)->value();
        } catch (const Error&) {
            throw HostError(row + "die Spalte „" + std::string(rule.column) +
                            "“ fehlt; nichts geschrieben");
        }
        // Null and "" mean 0 (or false), as the plug-in reads them.
        if (value.isNull() || (value.isString() && value.toString().empty())) continue;
        double number = 0.0;
        try {
            number = rule.convert(value);
        } catch (const Error& e) {
            const std::string why = e.number() == errc::overflow
                                        ? " ist zu groß oder zu klein für dieses Feld"
                                        : " ist keine Zahl";
            throw HostError(row + rule.column + " = " + shown(value) + why +
                            "; nichts geschrieben");
        }
        if (!std::isfinite(number) || number < rule.low || number > rule.high)
            throw HostError(row + rule.column + " = " + shown(value) + " ist nicht möglich (" +
                            germanNumberText(rule.low) + " bis " + germanNumberText(rule.high) +
                            (rule.unit[0] ? " " : "") + rule.unit + "); nichts geschrieben");
    }
}

}  // namespace tarvex::host
