#pragma once
// What the benchmarks share: template bytes, a host database made from schema.sql in a
// temporary folder, the session set up as Show leaves it, and invoices with many fee tables.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/word/word.h"

namespace tarvex::bench {

// The bytes of tests/data/templates/<name>. Throws std::runtime_error when unreadable.
std::vector<std::uint8_t> vorlage(const std::string& name);

// A host database from schema.sql with the Version row, invoice 3 of order 4711 and a TempDoc
// row, in a folder under the temporary directory that is removed with the object.
class Hostdatenbank {
  public:
    Hostdatenbank();
    ~Hostdatenbank();
    Hostdatenbank(const Hostdatenbank&) = delete;
    Hostdatenbank& operator=(const Hostdatenbank&) = delete;
    const std::filesystem::path& datei() const { return datei_; }

  private:
    std::filesystem::path ordner_, datei_;
};

// Session values as Show leaves them: NeueAbfrage on `db`, invoice 3 as the record set, the
// order context at 19 % with the payment deadline, today 01.03.2011, the calculator windows
// registered and a table selection dialog that always picks the first offered table.
void sitzungEinrichten(const Hostdatenbank& db);

// Opens `bytes` as the host's document (sitzungsdaten().Doc) and returns it.
std::shared_ptr<word::Document> dokumentSetzen(const std::vector<std::uint8_t>& bytes);

// frmKat5 loaded as Show opens it, 30 boundary points with 4 marked typed in, OK pressed:
// writes the 30.6 fee table into sitzungsdaten().Doc and rebuilds the totals.
void grenzfeststellungOk();

// The template with `anzahl` tagged 30.6 fee tables and their totals, as bytes.
std::vector<std::uint8_t> rechnungMitTabellen(const std::string& vorlageName, int anzahl);

}  // namespace tarvex::bench
