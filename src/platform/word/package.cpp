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
