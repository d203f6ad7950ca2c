#include "platform/word/package.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>

#include "platform/word/doc_state.h"

namespace tarvex::word::detail {

namespace {

std::string zipMessage(zip_error_t* error) {
    const char* text = zip_error_strerror(error);
    return text ? text : "unbekannter Fehler";
}

// True when `name` (as libzip reports it, honouring a Unicode path extra field) is the header's
// `raw` name, or only spells it in another encoding: the same length in characters, and the
// same character wherever the header has an ASCII byte. Anything else means readers that
// honour the extra field and readers that do not see different entries.
bool sameNameInOtherEncoding(const std::string& raw, const std::string& name) {
    if (raw == name) return true;
    std::size_t at = 0;
    for (unsigned char c : raw) {
        if (at >= name.size()) return false;
        const unsigned char lead = static_cast<unsigned char>(name[at]);
        if (c < 0x80) {
            if (lead != c) return false;
            ++at;
            continue;
        }
        if (lead < 0x80) return false;
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        at += length;
    }
    return at == name.size();
}

std::uint32_t crc32Of(const std::string& data) {
    return static_cast<std::uint32_t>(
        ::crc32(0L, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::uint32_t little(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

std::vector<std::uint8_t> readRange(ReadableFile& file, std::uint64_t from, std::uint64_t to) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(to - from));
    bytes.resize(file.ReadAt(from, bytes));
    return bytes;
}

// libzip replaces an entry's name by the one in its Unicode path extra field (0x7075) when the
// field's checksum matches the header's name, and keeps no trace of the header's name. Readers
// that ignore the field see the header's name: the central directory is read here directly,
// and an entry whose two names differ beyond their encoding is refused. (A central directory
// libzip could open is assumed; a ZIP64 directory is left to libzip's checks.)
void checkUnicodePathFields(ReadableFile& file) {
    const std::uint64_t fileSize = file.Size();
    if (fileSize < 22) return;
    // The end record lies in the last 64 KiB (its comment is at most that long), nearly
    // always in the last few bytes: the short tail is looked at first.
    std::vector<std::uint8_t> tail;
    std::size_t end = 0;
    bool found = false;
    for (const std::uint64_t reach : {std::uint64_t{4096}, std::uint64_t{65557}}) {
        tail = readRange(file, fileSize > reach ? fileSize - reach : 0, fileSize);
        if (tail.size() < 22) return;
        for (end = tail.size() - 22; !(found = little(tail, end, 4) == 0x06054b50) && end > 0;)
            --end;
        if (found || tail.size() < reach) break;
    }
    if (!found) return;
    const std::uint64_t directory = little(tail, end + 16, 4);
    const std::uint32_t count = little(tail, end + 10, 2);
    if (directory == 0xFFFFFFFFu || directory >= fileSize) return;
    const std::vector<std::uint8_t> b = readRange(file, directory, fileSize);
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at + 46 > b.size() || little(b, at, 4) != 0x02014b50) return;
        const std::size_t nameLength = little(b, at + 28, 2), extraLength = little(b, at + 30, 2),
                          commentLength = little(b, at + 32, 2);
        if (at + 46 + nameLength + extraLength > b.size()) return;
        const std::string raw(b.begin() + static_cast<std::ptrdiff_t>(at + 46),
                              b.begin() + static_cast<std::ptrdiff_t>(at + 46 + nameLength));
        std::size_t field = at + 46 + nameLength;
        const std::size_t fieldsEnd = field + extraLength;
        while (field + 4 <= fieldsEnd) {
            const std::uint32_t id = little(b, field, 2), size = little(b, field + 2, 2);
            if (field + 4 + size > fieldsEnd) break;
            if (id == 0x7075 && size >= 5 && b[field + 4] == 1 &&
                little(b, field + 5, 4) == crc32Of(raw)) {
                const std::string named(b.begin() + static_cast<std::ptrdiff_t>(field + 9),
                                        b.begin() + static_cast<std::ptrdiff_t>(field + 4 + size));
                if (!sameNameInOtherEncoding(raw, named))
                    badDocument("Das Paket ist mehrdeutig: Der Eintrag " + raw +
                                " heißt laut seinem Unicode-Zusatzfeld " + named + ".");
            }
            field += 4 + size;
        }
        at += 46 + nameLength + extraLength + commentLength;
    }
}

}  // namespace

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The archive's bytes for libzip: read from the file at any position and, for an archive being
// written, a new archive streamed into `out`. libzip writes each entry's data in order and only
// goes back to rewrite the header of an entry it has just compressed; such rewrites become
// WriteAt. libzip reads and writes in pieces of a few KiB (headers field by field): reads that
// follow on from the last one are served from a window read ahead, and writes are gathered
// into pieces of kPiece bytes, so that a large entry costs few calls, also on a network share.
// What the files raise is kept and raised again once libzip has given up (no exception may
// cross libzip's C frames).
struct Package::Source {
    static constexpr std::size_t kPiece = 256u << 10;

    ReadableFile& file;
    WritableFile* out = nullptr;  // null: reading only
    std::uint64_t readAt = 0;
    std::uint64_t readEnd = 0;  // where the last read ended
    std::unique_ptr<std::uint8_t[]> window;  // not zeroed: reading fills it
    std::size_t windowSize = 0;
    std::uint64_t windowAt = 0;
    std::uint64_t writeAt = 0;
    std::uint64_t flushed = 0;          // bytes handed to `out`
    std::vector<std::uint8_t> pending;  // written after those, not yet handed on
    zip_error_t error;
    std::exception_ptr failure;

    Source(ReadableFile& f, WritableFile* o) : file(f), out(o) { zip_error_init(&error); }
    ~Source() { zip_error_fini(&error); }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    // A source libzip owns and frees; this object stays ours.
    zip_source_t* create(zip_error_t* err) {
        return zip_source_function_create(&Source::callback, this, err);
    }
    void rethrow() const {
        if (failure) std::rethrow_exception(failure);
    }

    static zip_int64_t callback(void* self, void* data, zip_uint64_t length,
                                zip_source_cmd_t command) {
        auto& source = *static_cast<Source*>(self);
        try {
            return source.run(data, length, command);
        } catch (...) {
            source.failure = std::current_exception();
            zip_error_set(&source.error, command == ZIP_SOURCE_WRITE ? ZIP_ER_WRITE : ZIP_ER_READ,
                          0);
            return -1;
        }
    }

    zip_int64_t run(void* data, zip_uint64_t length, zip_source_cmd_t command) {
        switch (command) {
            case ZIP_SOURCE_OPEN:
                readAt = 0;
                return 0;
            case ZIP_SOURCE_READ: {
                const std::size_t n =
                    read({static_cast<std::uint8_t*>(data), static_cast<std::size_t>(length)});
                readAt += n;
                return static_cast<zip_int64_t>(n);
            }
            case ZIP_SOURCE_COMMIT_WRITE:
                flush();
                return 0;
            case ZIP_SOURCE_CLOSE:
            case ZIP_SOURCE_FREE:
            case ZIP_SOURCE_ROLLBACK_WRITE:
            case ZIP_SOURCE_REMOVE:
                return 0;
            case ZIP_SOURCE_STAT: {
                auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &error);
                if (!st) return -1;
                zip_stat_init(st);
                st->size = file.Size();
                st->valid |= ZIP_STAT_SIZE;
                return sizeof(zip_stat_t);
            }
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&error, data, length);
            case ZIP_SOURCE_SEEK: {
                const zip_int64_t at =
                    zip_source_seek_compute_offset(readAt, file.Size(), data, length, &error);
                if (at < 0) return -1;
                readAt = static_cast<std::uint64_t>(at);
                return 0;
            }
            case ZIP_SOURCE_TELL:
                return static_cast<zip_int64_t>(readAt);
            case ZIP_SOURCE_SUPPORTS:
                return out ? ZIP_SOURCE_SUPPORTS_WRITABLE : ZIP_SOURCE_SUPPORTS_SEEKABLE;
            case ZIP_SOURCE_BEGIN_WRITE:
                if (flushed != 0 || !pending.empty()) break;  // one archive per sink
                writeAt = 0;
                return 0;
            case ZIP_SOURCE_WRITE:
                if (!out) break;
                write({static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(length)});
                return static_cast<zip_int64_t>(length);
            case ZIP_SOURCE_SEEK_WRITE: {
                const std::uint64_t end = flushed + pending.size();
                const zip_int64_t at =
                    zip_source_seek_compute_offset(writeAt, end, data, length, &error);
                if (at < 0) return -1;
                if (static_cast<std::uint64_t>(at) > end) break;  // no holes
                writeAt = static_cast<std::uint64_t>(at);
                return 0;
            }
            case ZIP_SOURCE_TELL_WRITE:
                return static_cast<zip_int64_t>(writeAt);
            default:
                break;
        }
        zip_error_set(&error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }

    std::size_t read(std::span<std::uint8_t> into) {
        const bool follows = readAt == readEnd;
        readEnd = readAt;
        // Scattered reads (local headers) and large ones go straight to the file.
        if (!follows || into.size() >= kPiece / 4) {
            readEnd += file.ReadAt(readAt, into);
            return static_cast<std::size_t>(readEnd - readAt);
        }
        if (readAt < windowAt || readAt + into.size() > windowAt + windowSize) {
            if (!window) window = std::make_unique_for_overwrite<std::uint8_t[]>(kPiece);
            windowSize = file.ReadAt(readAt, {window.get(), kPiece});
            windowAt = readAt;
        }
        const std::size_t n = static_cast<std::size_t>(
            std::min<std::uint64_t>(into.size(), windowAt + windowSize - readAt));
        std::memcpy(into.data(), window.get() + (readAt - windowAt), n);
        readEnd += n;
        return n;
    }

    void write(std::span<const std::uint8_t> bytes) {
        if (writeAt < flushed) {  // a header rewritten after its piece was handed on
            const std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), flushed - writeAt));
            out->WriteAt(writeAt, bytes.first(n));
            bytes = bytes.subspan(n);
            writeAt += n;
        }
        const std::uint64_t end = flushed + pending.size();
        if (!bytes.empty() && writeAt < end) {
            const std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), end - writeAt));
            std::memcpy(pending.data() + (writeAt - flushed), bytes.data(), n);
            bytes = bytes.subspan(n);
            writeAt += n;
        }
        if (pending.capacity() < kPiece) pending.reserve(kPiece + (16u << 10));
        pending.insert(pending.end(), bytes.begin(), bytes.end());
        writeAt += bytes.size();
        if (pending.size() >= kPiece) flush();
    }

    void flush() {
        if (pending.empty()) return;
        out->Append(pending);
        flushed += pending.size();
        pending.clear();
    }
};

std::size_t BytesFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (offset >= bytes_.size()) return 0;
    const std::size_t n =
        std::min<std::size_t>(into.size(), bytes_.size() - static_cast<std::size_t>(offset));
    std::memcpy(into.data(), bytes_.data() + offset, n);
    return n;
}

void BytesSink::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (offset + data.size() > bytes.size()) raise(75, "Schreiben hinter das Dateiende.");
    std::memcpy(bytes.data() + offset, data.data(), data.size());
}

Package::Package() = default;

Package::~Package() {
    if (archive_) zip_discard(archive_);
}

void Package::swap(Package& other) noexcept {
    std::swap(file_, other.file_);
    std::swap(source_, other.source_);
    std::swap(archive_, other.archive_);
    std::swap(entries_, other.entries_);
}

void Package::open(std::unique_ptr<ReadableFile> file) {
    file_ = std::move(file);
    source_ = std::make_unique<Source>(*file_, nullptr);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = source_->create(&error);
    if (!source) badDocument("Die Datei kann nicht gelesen werden: " + zipMessage(&error));
    archive_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive_) {
        zip_source_free(source);
        source_->rethrow();
        if (zip_error_code_zip(&error) == ZIP_ER_EXISTS)
            badDocument("Das Paket ist mehrdeutig: Zwei Einträge tragen denselben Namen.");
        std::string why = zipMessage(&error);
        zip_error_fini(&error);
        badDocument("Die Datei ist kein Word-Dokument (kein gültiges ZIP-Archiv: " + why + ").");
    }
    zip_int64_t count = zip_get_num_entries(archive_, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxEntries)
        badDocument("Das ZIP-Archiv enthält zu viele Einträge.");
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !st.name)
            badDocument("Ein Eintrag des ZIP-Archivs ist unlesbar.");
        entries_.push_back({st.name, static_cast<std::uint64_t>(i), st.size});
    }
    checkUnicodePathFields(*file_);
    // Part names are compared without regard to case: two entries that differ only in case are
    // one part to some readers and two to others.
    std::vector<std::string> names;
    for (const auto& e : entries_) names.push_back(lowerAscii(e.name));
    std::sort(names.begin(), names.end());
    if (auto twin = std::adjacent_find(names.begin(), names.end()); twin != names.end())
        badDocument("Das Paket ist mehrdeutig: Der Teil " + *twin +
                    " kommt mehrfach vor (Groß- und Kleinschreibung zählen nicht).");
}

const PackageEntry* Package::find(const std::string& name) const {
    std::string wanted = lowerAscii(name);
    for (const auto& e : entries_)
        if (lowerAscii(e.name) == wanted) return &e;
    return nullptr;
}

std::string Package::read(const PackageEntry& entry, std::uint64_t limit) const {
    if (entry.size > limit)
        badDocument("Der Teil " + entry.name + " ist zu groß (" + std::to_string(entry.size) +
                    " Bytes entpackt, höchstens " + std::to_string(limit) + " erlaubt).");
    zip_file_t* file = zip_fopen_index(archive_, entry.index, 0);
    if (!file) source_->rethrow();
    if (!file) badDocument("Der Teil " + entry.name + " kann nicht entpackt werden.");
    std::string out;
    out.resize(static_cast<std::size_t>(entry.size));
    std::uint64_t done = 0;
    while (done < entry.size) {
        zip_int64_t n = zip_fread(file, out.data() + done, entry.size - done);
        if (n <= 0) break;
        done += static_cast<std::uint64_t>(n);
    }
    // A stream longer than declared, or a bad checksum, shows up as an extra read or an error.
    char extra;
    zip_int64_t more = zip_fread(file, &extra, 1);
    zip_fclose(file);
    source_->rethrow();
    if (done != entry.size || more != 0)
        badDocument("Der Teil " + entry.name +
                    " ist beschädigt (Größe oder Prüfsumme stimmt nicht).");
    return out;
}

void Package::write(const std::map<std::string, std::string>& parts, WritableFile& out) const {
    // Unchanged entries are copied from the file: it must still be the one that was read.
    file_->CheckUnchanged();
    if (parts.empty()) {
        CopyContent(*file_, out);
        return;
    }
    Source sink(*file_, &out);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = sink.create(&error);
    if (!source) raise(75, "Speichern nicht möglich: " + zipMessage(&error));
    zip_t* archive = zip_open_from_source(source, 0, &error);
    if (!archive) {
        zip_source_free(source);
        sink.rethrow();
        raise(75, "Speichern nicht möglich: " + zipMessage(&error));
    }
    auto fail = [&](const std::string& what) {
        std::string why = zip_strerror(archive);
        zip_discard(archive);
        sink.rethrow();
        raise(75, what + ": " + why);
    };
    if (zip_get_num_entries(archive, 0) != static_cast<zip_int64_t>(entries_.size()))
        fail("Das Archiv hat sich seit dem Öffnen verändert");
    for (const auto& [name, data] : parts) {
        zip_source_t* part = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!part) fail("Speichern nicht möglich");
        const PackageEntry* existing = find(name);
        int rc = existing
                     ? zip_file_replace(archive, existing->index, part, 0)
                     : static_cast<int>(
                           zip_file_add(archive, name.c_str(), part, ZIP_FL_ENC_UTF_8) < 0 ? -1
                                                                                            : 0);
        if (rc != 0) {
            zip_source_free(part);
            fail("Teil " + name + " kann nicht geschrieben werden");
        }
        if (existing) zip_set_file_compression(archive, existing->index, ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0) fail("Das Archiv kann nicht geschrieben werden");
}

}  // namespace tarvex::word::detail
