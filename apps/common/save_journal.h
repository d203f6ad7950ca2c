#pragma once
// The commit journal of a save. Saving an invoice replaces its file (a temporary file beside
// it is written, flushed and renamed over it) and only then commits the invoice record. A
// crash between the two would leave the new invoice with the old record. So before the
// rename a small journal is written beside the invoice: the size and checksum of the new
// file, the database, the invoice record and the amounts it is about to receive. It is
// removed after the commit. The next session on the invoice finds a journal left behind and
// completes the save when the new file is in place, or drops the journal when it is not.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/variant/variant.h"
#include "platform/word/file_system.h"

namespace tarvex::host {

class DocumentLock;

struct SaveJournal {
    std::uint64_t size = 0;      // of the new invoice file
    std::uint64_t checksum = 0;  // contentChecksum of the new invoice file
    std::string database;        // absolute path of the host database
    std::int32_t invoice = 0;    // ID_Rechnungsnummer
    std::vector<std::pair<std::string, Variant>> values;  // the record's new amounts
};

// ".NAME.tarvex-journal" beside the invoice NAME (the file itself, not a link to it).
std::string journalPathFor(const std::string& document);
// FNV-1a (64 bit) of the bytes: tells the new invoice from the old one.
std::uint64_t contentChecksum(std::span<const std::uint8_t> bytes);
// The same of a file's whole content, read a piece at a time.
std::uint64_t contentChecksum(word::ReadableFile& file);
std::vector<std::uint8_t> encodeJournal(const SaveJournal& journal);
// nullopt when the bytes are no complete journal (a torn write is never renamed into place,
// so that means a foreign or damaged file).
std::optional<SaveJournal> decodeJournal(std::span<const std::uint8_t> bytes);

// The file system an invoice is saved through. When the new file is renamed over the invoice
// it first writes the journal (when one is given, with the new file's size and checksum),
// and takes the run's lock on the new file, so that no other run can take the invoice
// between the rename and the commit. Everything else is passed on.
class SavingFileSystem final : public word::ForwardingFileSystem {
  public:
    // `document`: the invoice's path; a symbolic link is followed to the file it points to.
    SavingFileSystem(word::FileSystem& target, const std::string& document,
                     std::optional<SaveJournal> journal);
    ~SavingFileSystem() override;

    void Rename(const std::string& from, const std::string& to) override;

    // Whether the new file has replaced the invoice.
    bool renamed() const { return renamed_; }
    // The lock on the new invoice file (null when it could not be taken).
    std::unique_ptr<DocumentLock> takeLock();
    // Removes the journal, once the record is committed or the save undone.
    void removeJournal();

  private:
    std::string document_;
    std::optional<SaveJournal> journal_;
    std::unique_ptr<DocumentLock> lock_;
    bool renamed_ = false;
    bool journalWritten_ = false;
};

}  // namespace tarvex::host
