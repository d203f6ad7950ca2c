#include "platform/word/package.h"

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

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

std::uint32_t crc32(const std::string& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t little(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

// libzip replaces an entry's name by the one in its Unicode path extra field (0x7075) when the
// field's checksum matches the header's name, and keeps no trace of the header's name. Readers
// that ignore the field see the header's name: the central directory is read here directly,
// and an entry whose two names differ beyond their encoding is refused. (A central directory
// libzip could open is assumed; a ZIP64 directory is left to libzip's checks.)
void checkUnicodePathFields(const std::vector<std::uint8_t>& b) {
    if (b.size() < 22) return;
    std::size_t end = b.size() - 22;
    const std::size_t lowest = b.size() > 65557 ? b.size() - 65557 : 0;
    while (little(b, end, 4) != 0x06054b50) {
        if (end == lowest) return;
        --end;
    }
    std::size_t at = little(b, end + 16, 4);
    const std::uint32_t count = little(b, end + 10, 2);
    if (at == 0xFFFFFFFFu) return;
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
                little(b, field + 5, 4) == crc32(raw)) {
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

Package::~Package() {
    if (archive_) zip_discard(archive_);
}

void Package::open(std::span<const std::uint8_t> bytes) {
    bytes_.assign(bytes.begin(), bytes.end());
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
    if (!source) badDocument("Die Datei kann nicht gelesen werden: " + zipMessage(&error));
    archive_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive_) {
        zip_source_free(source);
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
    checkUnicodePathFields(bytes_);
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
    if (done != entry.size || more != 0)
        badDocument("Der Teil " + entry.name +
                    " ist beschädigt (Größe oder Prüfsumme stimmt nicht).");
    return out;
}

std::vector<std::uint8_t> Package::write(const std::map<std::string, std::string>& parts) const {
    zip_error_t error;
    zip_error_init(&error);
    // libzip rewrites a buffer source in place when the archive is closed and then manages its
    // memory itself: hand it a copy it owns, never our own bytes.
    void* copy = std::malloc(bytes_.size());
    if (!copy) throw std::bad_alloc();
    std::memcpy(copy, bytes_.data(), bytes_.size());
    zip_source_t* source = zip_source_buffer_create(copy, bytes_.size(), 1, &error);
    if (!source) {
        std::free(copy);
        raise(75, "Speichern nicht möglich: " + zipMessage(&error));
    }
    zip_t* out = zip_open_from_source(source, 0, &error);
    if (!out) {
        zip_source_free(source);
        raise(75, "Speichern nicht möglich: " + zipMessage(&error));
    }
    zip_source_keep(source);
    auto fail = [&](const std::string& what) {
        std::string why = zip_strerror(out);
        zip_discard(out);
        zip_source_free(source);
        raise(75, what + ": " + why);
    };
    for (const auto& [name, data] : parts) {
        zip_source_t* part = zip_source_buffer(out, data.data(), data.size(), 0);
        if (!part) fail("Speichern nicht möglich");
        const PackageEntry* existing = find(name);
        int rc = existing
                     ? zip_file_replace(out, existing->index, part, 0)
                     : static_cast<int>(
                           zip_file_add(out, name.c_str(), part, ZIP_FL_ENC_UTF_8) < 0 ? -1 : 0);
        if (rc != 0) {
            zip_source_free(part);
            fail("Teil " + name + " kann nicht geschrieben werden");
        }
        if (existing) zip_set_file_compression(out, existing->index, ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(out) != 0) fail("Das Archiv kann nicht geschrieben werden");
    std::vector<std::uint8_t> result;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(source, &st) == 0 && zip_source_open(source) == 0) {
        result.resize(static_cast<std::size_t>(st.size));
        zip_int64_t n = zip_source_read(source, result.data(), st.size);
        zip_source_close(source);
        if (n < 0 || static_cast<zip_uint64_t>(n) != st.size) result.clear();
    }
    zip_source_free(source);
    if (result.empty()) raise(75, "Das gespeicherte Archiv kann nicht gelesen werden.");
    return result;
}

}  // namespace tarvex::word::detail
