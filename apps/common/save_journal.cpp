#include "save_journal.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <sstream>

#include "document_lock.h"
#include "platform/error/error.h"

namespace tarvex::host {

namespace {

constexpr const char* kHeader = "TARVEX-Speicherjournal 1";
constexpr const char* kEnd = "Ende";
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t addToChecksum(std::uint64_t hash, std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) hash = (hash ^ b) * kFnvPrime;
    return hash;
}

// Texts go on one line: "%" and line breaks are escaped.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '%')
            out += "%25";
        else if (c == '\n')
            out += "%0A";
        else if (c == '\r')
            out += "%0D";
        else
            out += c;
    }
    return out;
}

std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const std::string code = text.substr(i + 1, 2);
            if (code == "25" || code == "0A" || code == "0D") {
                out += code == "25" ? '%' : code == "0A" ? '\n' : '\r';
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string encodeValue(const Variant& value) {
    switch (value.type()) {
        case Variant::Type::Null:
        case Variant::Type::Empty:
            return "N";
        case Variant::Type::Long:
        case Variant::Type::Integer:
            return "L:" + std::to_string(value.toLong());
        case Variant::Type::String:
            return "S:" + escaped(value.toString());
        default: {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%.17g", value.toDouble());
            return std::string("D:") + buf;
        }
    }
}

std::optional<Variant> decodeValue(const std::string& text) {
    if (text == "N") return Variant::null();
    if (text.size() < 2 || text[1] != ':') return std::nullopt;
    const std::string rest = text.substr(2);
    switch (text[0]) {
        case 'L': {
            std::int32_t n = 0;
            auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), n);
            if (ec != std::errc() || end != rest.data() + rest.size()) return std::nullopt;
            return Variant(n);
        }
        case 'D': {
            char* end = nullptr;
            const double d = std::strtod(rest.c_str(), &end);
            if (rest.empty() || *end != '\0') return std::nullopt;
            return Variant(d);
        }
        case 'S':
            return Variant(unescaped(rest));
        default:
            return std::nullopt;
    }
}

template <class Number>
bool number(const std::string& text, Number& out, int base = 10) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

std::string journalPathFor(const std::string& document) {
    const auto slash = document.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : document.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? document : document.substr(slash + 1);
    return folder + "." + name + ".tarvex-journal";
}

std::uint64_t contentChecksum(std::span<const std::uint8_t> bytes) {
    return addToChecksum(kFnvOffset, bytes);
}

std::uint64_t contentChecksum(word::ReadableFile& file) {
    // Not zeroed when made: reading fills it.
    constexpr std::size_t kPiece = 256u << 10;
    const auto piece = std::make_unique_for_overwrite<std::uint8_t[]>(kPiece);
    std::uint64_t hash = kFnvOffset;
    for (std::uint64_t at = 0; at < file.Size();) {
        const std::size_t n = file.ReadAt(at, {piece.get(), kPiece});
        if (n == 0) break;
        hash = addToChecksum(hash, {piece.get(), n});
        at += n;
    }
    return hash;
}

std::vector<std::uint8_t> encodeJournal(const SaveJournal& journal) {
    std::ostringstream out;
    out << kHeader << "\n";
    out << "groesse=" << journal.size << "\n";
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(journal.checksum));
    out << "pruefsumme=" << hex << "\n";
    out << "datenbank=" << escaped(journal.database) << "\n";
    out << "rechnung=" << journal.invoice << "\n";
    for (const auto& [field, value] : journal.values)
        out << "wert=" << escaped(field) << "=" << encodeValue(value) << "\n";
    out << kEnd << "\n";
    const std::string text = out.str();
    return {text.begin(), text.end()};
}

std::optional<SaveJournal> decodeJournal(std::span<const std::uint8_t> bytes) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return std::nullopt;
    SaveJournal journal;
    bool size = false, checksum = false, database = false, invoice = false, end = false;
    while (std::getline(in, line)) {
        if (line == kEnd) {
            end = true;
            break;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) return std::nullopt;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "groesse") {
            size = number(value, journal.size);
        } else if (key == "pruefsumme") {
            checksum = number(value, journal.checksum, 16);
        } else if (key == "datenbank") {
            journal.database = unescaped(value);
            database = !journal.database.empty();
        } else if (key == "rechnung") {
            invoice = number(value, journal.invoice);
        } else if (key == "wert") {
            const auto eq2 = value.find('=');
            if (eq2 == std::string::npos) return std::nullopt;
            auto decoded = decodeValue(value.substr(eq2 + 1));
            if (!decoded) return std::nullopt;
            journal.values.emplace_back(unescaped(value.substr(0, eq2)), *decoded);
        } else {
            return std::nullopt;
        }
    }
    if (!(size && checksum && database && invoice && end)) return std::nullopt;
    return journal;
}

SavingFileSystem::SavingFileSystem(word::FileSystem& target, const std::string& document,
                                   std::optional<SaveJournal> journal)
    : ForwardingFileSystem(target),
      // A link is saved through: the file it points to is what gets replaced.
      document_(target.ResolveLinks(document)),
      journal_(std::move(journal)) {}

SavingFileSystem::~SavingFileSystem() = default;

void SavingFileSystem::Rename(const std::string& from, const std::string& to) {
    if (to != document_) {
        target_.Rename(from, to);
        return;
    }
    if (journal_) {
        // The file as it lies written and flushed: what the next session finds in place.
        const std::unique_ptr<word::ReadableFile> written =
            target_.OpenForReading(from, std::numeric_limits<std::uint64_t>::max());
        journal_->size = written->Size();
        journal_->checksum = contentChecksum(*written);
        const std::vector<std::uint8_t> bytes = encodeJournal(*journal_);
        word::WriteFileAtomically(target_, journalPathFor(document_), bytes);
        journalWritten_ = true;
    }
    try {
        lock_ = std::make_unique<DocumentLock>(from, std::chrono::milliseconds(0));
    } catch (const std::exception&) {
        lock_.reset();  // the save goes on; the run then holds no lock on the new file
    }
    try {
        target_.Rename(from, to);
    } catch (...) {
        // A failure reported after the new file went into place still leaves it there.
        std::error_code error;
        if (std::filesystem::symlink_status(from, error).type() ==
            std::filesystem::file_type::not_found) {
            renamed_ = true;
        } else {
            lock_.reset();
            removeJournal();
        }
        throw;
    }
    renamed_ = true;
}

std::unique_ptr<DocumentLock> SavingFileSystem::takeLock() { return std::move(lock_); }

void SavingFileSystem::removeJournal() {
    if (!journalWritten_) return;
    target_.Remove(journalPathFor(document_));
    journalWritten_ = false;
}

}  // namespace tarvex::host
