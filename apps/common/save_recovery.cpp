#include "save_recovery.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "database_problem.h"
#include "invoice_amounts.h"
#include "platform/dao/dao.h"
#include "platform/word/file_system.h"
#include "save_journal.h"

namespace tarvex::host {

namespace {

constexpr std::size_t kMaxJournalBytes = 1u << 20;
constexpr std::size_t kMaxInvoiceBytes = 256u << 20;

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<std::vector<std::uint8_t>> readIfThere(word::FileSystem& fs,
                                                     const std::string& path, std::size_t max) {
    try {
        return fs.ReadFile(path, max);
    } catch (const Error& e) {
        if (e.number() == 53) return std::nullopt;  // no such file
        throw;
    }
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

bool recoverInterruptedSave(const std::string& path, word::FileSystem& fs,
                            dao::Workspace& workspace, std::chrono::milliseconds patience,
                            const std::function<void(bool)>& waitNotice) {
    // Saves replace the file a link points to; their journal lies beside that file.
    const std::string document = fs.ResolveLinks(path);
    const std::string journalPath = journalPathFor(document);
    const std::string failed = "Eine unterbrochene Speicherung von " + document +
                               " kann nicht abgeschlossen werden: ";
    std::optional<std::vector<std::uint8_t>> bytes;
    try {
        bytes = readIfThere(fs, journalPath, kMaxJournalBytes);
    } catch (const Error& e) {
        throw HostError(failed + e.description(), Outcome::NotWritten);
    }
    if (!bytes) return false;
    const std::optional<SaveJournal> journal = decodeJournal(*bytes);
    if (!journal)
        throw HostError(failed + "das Journal " + journalPath +
                        " ist unlesbar; bitte Rechnung und Datensatz prüfen und das Journal "
                        "löschen");

    bool completed = false;
    bool newFileInPlace = false;
    try {
        const std::unique_ptr<word::ReadableFile> current =
            fs.OpenForReading(document, kMaxInvoiceBytes);
        newFileInPlace =
            current->Size() == journal->size && contentChecksum(*current) == journal->checksum;
    } catch (const Error& e) {
        throw HostError(failed + e.description(), Outcome::BadInput);
    }
    // The new file is in place: the record must get the amounts that belong to it.
    if (newFileInPlace) {
        try {
            auto database = workspace.openDatabase(journal->database);
            if (!holdsAmounts(*database, journal->invoice, journal->values)) {
                beginWriting(*database, patience, waitNotice);
                try {
                    writeAmounts(*database, journal->invoice, journal->values);
                    database->commitTrans();
                } catch (...) {
                    try {
                        database->rollback();
                    } catch (const Error&) {
                    }
                    throw;
                }
            }
            completed = true;
        } catch (const Error& e) {
            throw HostError(failed + "Datenbank " + journal->database + ": " +
                                databaseProblem(e),
                            databaseOutcome(e));
        }
    }
    // Otherwise the old file is still in place and the record was never committed.
    fs.Remove(journalPath);
    return completed;
}

int removeLeftoverTemporaries(const std::string& path, word::FileSystem& fs) {
    const std::string document = fs.ResolveLinks(path);
    const auto slash = document.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : document.substr(0, slash);
    // Built by append: gcc 12 at -O3 reports a false overlapping copy for "." + std::string&&.
    const auto temporaryPrefix = [](const std::string& name) {
        std::string prefix(1, '.');
        prefix.append(name).append(".tarvex-");
        return prefix;
    };
    const std::string own = temporaryPrefix(nameOf(document));
    const std::string journals = temporaryPrefix(nameOf(journalPathFor(document)));
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder.empty() ? "/" : folder, error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!endsWith(name, ".tmp") || !(startsWith(name, own) || startsWith(name, journals)))
            continue;
        std::error_code kind;
        if (!it->is_regular_file(kind) || it->is_symlink(kind)) continue;
        fs.Remove(it->path().string());
        ++removed;
    }
    return removed;
}

}  // namespace tarvex::host
