#include "save_recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    const std::string folder =
        slash == std::string::npos ? "." : slash == 0 ? "/" : document.substr(0, slash);
    // Built by append: gcc 12 at -O3 reports a false overlapping copy for "." + std::string&&.
    const auto temporaryPrefix = [](const std::string& name) {
        std::string prefix(1, '.');
        prefix.append(name).append(".tarvex-");
        return prefix;
    };
    const std::string own = temporaryPrefix(nameOf(document));
    const std::string journals = temporaryPrefix(nameOf(journalPathFor(document)));
    // Read with readdir: an office folder may hold thousands of invoices, and only the names
    // are compared; the file type is asked only of the few names that match.
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return 0;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!name.ends_with(".tmp") || !(name.starts_with(own) || name.starts_with(journals)))
            continue;
        struct stat info {};
        // A link or anything but a plain file is not ours to remove.
        if (fstatat(dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        found.emplace_back(folder + "/" + entry->d_name);
    }
    for (const std::string& leftover : found) fs.Remove(leftover);
    return static_cast<int>(found.size());
}

}  // namespace tarvex::host
