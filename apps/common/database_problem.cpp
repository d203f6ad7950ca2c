#include "database_problem.h"

#include "platform/dao/dao.h"

namespace tarvex::host {

namespace {

// The name after "no such table: " or "no such column: " in the engine's text.
std::string nameAfterColon(const std::string& text) {
    const auto colon = text.find(": ");
    return colon == std::string::npos ? std::string() : text.substr(colon + 2);
}

std::string sentence(const Error& error) {
    const std::string& text = error.description();
    switch (error.number()) {
        case dao::daoerr::locked:
            return "Die Datenbank ist von einem anderen Programm gesperrt";
        case dao::daoerr::notADatabase:
            return "Die Datei ist keine Datenbank oder sie ist beschädigt";
        case dao::daoerr::readOnly:
            return "Die Datenbank ist schreibgeschützt";
        case dao::daoerr::tableNotFound: {
            const std::string name = nameAfterColon(text);
            return name.empty() ? "In der Datenbank fehlt eine Tabelle"
                                : "In der Datenbank fehlt die Tabelle „" + name + "“";
        }
        case dao::daoerr::tooFewParameters: {
            const std::string name = nameAfterColon(text);
            return name.empty() ? "In der Datenbank fehlt eine Spalte"
                                : "In der Datenbank fehlt die Spalte „" + name + "“";
        }
        case errc::itemNotFound:
            return "In der Datenbank fehlt eine Spalte";
        case dao::daoerr::diskError:
            return text.find("full") != std::string::npos
                       ? "Der Datenträger der Datenbank ist voll"
                       : "Die Datenbankdatei kann nicht gelesen oder geschrieben werden";
        case dao::daoerr::fileNotFound:
            return "Die Datenbankdatei kann nicht geöffnet werden";
        case dao::daoerr::recordDeleted:
            return "Der Rechnungsdatensatz ist inzwischen gelöscht worden";
        default:
            return "Die Datenbank meldet einen Fehler";
    }
}

}  // namespace

std::string databaseProblem(const Error& error) {
    std::string text = sentence(error);
    if (!error.description().empty()) text += " (" + error.description() + ")";
    return text;
}

Outcome databaseOutcome(const Error& error) {
    switch (error.number()) {
        case dao::daoerr::locked:
            return Outcome::Busy;
        case dao::daoerr::readOnly:
        case dao::daoerr::diskError:
        case dao::daoerr::fileNotFound:
        case dao::daoerr::recordDeleted:
        case dao::daoerr::engineError:
            return Outcome::NotWritten;
        default:
            return Outcome::BadInput;
    }
}

}  // namespace tarvex::host
