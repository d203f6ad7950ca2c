#include "document/host_daten.h"

#include "plugin/session/sitzungsdaten.h"

namespace tarvex::summen {

std::shared_ptr<word::Document> Dokument() {
    const auto& objekt = sitzungsdaten().Doc;
    if (!objekt) throw Error(errc::objectNotSet);
    auto doc = std::dynamic_pointer_cast<word::Document>(objekt);
    if (!doc) throw Error(errc::typeMismatch);
    return doc;
}

dao::Database& Datenbank() {
    const auto& db = sitzungsdaten().NeueAbfrage;
    if (!db) throw Error(errc::objectNotSet);
    return *db;
}

std::string SchlüsselText(const dao::Recordset& satz, const std::string& feld) {
    return std::to_string(satz.field(feld)->value().toLong());
}

}  // namespace tarvex::summen
