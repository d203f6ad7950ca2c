#include "platform/error/error.h"

namespace tarvex {

std::string standardDescription(int number) {
    switch (number) {
        case errc::invalidCall: return "Unzulässiger Prozeduraufruf oder ungültiges Argument";
        case errc::overflow: return "Überlauf";
        case errc::subscriptOutOfRange: return "Index außerhalb des gültigen Bereichs";
        case errc::divisionByZero: return "Division durch Null";
        case errc::typeMismatch: return "Typen unverträglich";
        case errc::fileError: return "Fehler beim Zugriff auf Pfad/Datei";
        case errc::objectNotSet: return "Objektvariable oder With-Blockvariable nicht festgelegt";
        case errc::invalidUseOfNull: return "Unzulässige Verwendung von Null";
        case errc::invalidPropertyValue: return "Unzulässiger Eigenschaftswert";
        case errc::noCurrentRecord: return "Kein aktueller Datensatz.";
        case errc::itemNotFound: return "Element in dieser Auflistung nicht gefunden.";
        default: return "Anwendungs- oder objektdefinierter Fehler";
    }
}

Error::Error(int number) : Error(number, standardDescription(number)) {}

Error::Error(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

}  // namespace tarvex
