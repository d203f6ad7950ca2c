#include "document/host_daten.h"

#include "plugin/session/sitzungsdaten.h"

namespace tarvex::summen {

std::shared_ptr<word::Document> Dokument() {
    const auto& doc = sitzungsdaten().Doc;
    if (!doc) throw Error(errc::objectNotSet);
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
