// The floor the command-line runs are measured against: what any program that edits a .docx
// must do at least. Reads the package, parses the document and comments parts, serialises them
// again, writes the package with both parts replaced, flushes it to disk and renames it into
// place. Nothing else: no character model, no plug-in, no database.
//
//   tarvex_boden EINGABE.docx AUSGABE.docx
//
// Built a second time as tarvex_boden_db (TARVEX_BODEN_DATENBANK), it also does what an OK must
// do for the invoice record, and nothing more: opens the database, writes the four amounts of
// the invoice in a transaction, writes and flushes a small journal beside the invoice before the
// new file is renamed into place, commits (SQLite's own durable commit) and removes the journal.
//
//   tarvex_boden_db EINGABE.docx AUSGABE.docx DATENBANK RECHNUNG
#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <pugixml.hpp>
#ifdef TARVEX_BODEN_DATENBANK
#include <sqlite3.h>
#endif
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "tarvex_boden: %s\n", what.c_str());
    std::exit(1);
}

std::string readEntry(zip_t* archive, const char* name) {
    zip_stat_t st;
    if (zip_stat(archive, name, 0, &st) != 0) fail(std::string("kein Teil ") + name);
    zip_file_t* file = zip_fopen(archive, name, 0);
    if (!file) fail(std::string("nicht lesbar: ") + name);
    std::string out(static_cast<std::size_t>(st.size), '\0');
    if (zip_fread(file, out.data(), st.size) != static_cast<zip_int64_t>(st.size))
        fail(std::string("kurz gelesen: ") + name);
    zip_fclose(file);
    return out;
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};

std::string reserialize(const std::string& xml) {
    pugi::xml_document doc;
    const unsigned flags = pugi::parse_default | pugi::parse_ws_pcdata_single |
                           pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;
    if (!doc.load_buffer(xml.data(), xml.size(), flags)) fail("XML fehlerhaft");
    StringWriter writer;
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.out;
}

void flushFolder(const std::string& path) {
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void writeDurably(const std::string& path, const char* data, std::size_t size) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail("Ausgabe nicht anlegbar");
    for (std::size_t done = 0; done < size;) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) fail("Schreiben fehlgeschlagen");
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) fail("Sichern fehlgeschlagen");
}

#ifdef TARVEX_BODEN_DATENBANK
void sql(sqlite3* db, const char* statement) {
    if (sqlite3_exec(db, statement, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(std::string("SQL: ") + sqlite3_errmsg(db));
}

// Opens the database and writes the invoice's amounts, leaving the transaction open.
sqlite3* writeAmounts(const char* path, int invoice) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        fail("Datenbank nicht zu öffnen");
    sql(db, "BEGIN IMMEDIATE");
    sqlite3_stmt* update = nullptr;
    if (sqlite3_prepare_v2(db,
                           "UPDATE Rechnung SET NettoRechnung = 2500, Brutto = 2975, "
                           "MehrwertsteuerFreierbetrag = 0, Mehrwertsteuersatz = 19 "
                           "WHERE ID_Rechnungsnummer = ?",
                           -1, &update, nullptr) != SQLITE_OK)
        fail(std::string("SQL: ") + sqlite3_errmsg(db));
    sqlite3_bind_int(update, 1, invoice);
    if (sqlite3_step(update) != SQLITE_DONE || sqlite3_changes(db) != 1)
        fail("Rechnung nicht geschrieben");
    sqlite3_finalize(update);
    return db;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef TARVEX_BODEN_DATENBANK
    if (argc != 5) fail("Aufruf: tarvex_boden_db EINGABE.docx AUSGABE.docx DATENBANK RECHNUNG");
    sqlite3* db = writeAmounts(argv[3], std::atoi(argv[4]));
#else
    if (argc != 3) fail("Aufruf: tarvex_boden EINGABE.docx AUSGABE.docx");
#endif
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) fail("Eingabe leer oder nicht lesbar");

    // libzip owns and rewrites the buffer when the archive is closed.
    void* copy = std::malloc(bytes.size());
    std::memcpy(copy, bytes.data(), bytes.size());
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(copy, bytes.size(), 1, &error);
    zip_t* archive = source ? zip_open_from_source(source, 0, &error) : nullptr;
    if (!archive) fail("kein ZIP-Archiv");
    zip_source_keep(source);

    std::vector<std::string> parts;
    for (const char* name : {"word/document.xml", "word/comments.xml"})
        parts.push_back(reserialize(readEntry(archive, name)));
    const char* names[] = {"word/document.xml", "word/comments.xml"};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        zip_source_t* part = zip_source_buffer(archive, parts[i].data(), parts[i].size(), 0);
        zip_int64_t index = zip_name_locate(archive, names[i], 0);
        if (!part || index < 0 || zip_file_replace(archive, index, part, 0) != 0)
            fail("Teil nicht ersetzbar");
    }
    if (zip_close(archive) != 0) fail("Archiv nicht schreibbar");

    zip_stat_t st;
    zip_stat_init(&st);
    std::vector<char> out;
    if (zip_source_stat(source, &st) != 0 || zip_source_open(source) != 0) fail("Ergebnis fehlt");
    out.resize(static_cast<std::size_t>(st.size));
    if (zip_source_read(source, out.data(), st.size) != static_cast<zip_int64_t>(st.size))
        fail("Ergebnis kurz");
    zip_source_close(source);
    zip_source_free(source);

    // Durable: written beside the target, flushed, renamed, the folder flushed.
    const std::string target = argv[2], temp = target + ".tmp";
    writeDurably(temp, out.data(), out.size());
#ifdef TARVEX_BODEN_DATENBANK
    // The journal that lets a crash between rename and commit be completed later.
    const std::string journal = target + ".journal", journalTemp = journal + ".tmp";
    const std::string text = "groesse=" + std::to_string(out.size()) + "\nEnde\n";
    writeDurably(journalTemp, text.data(), text.size());
    if (::rename(journalTemp.c_str(), journal.c_str()) != 0) fail("Journal nicht umbenannt");
    flushFolder(journal);
#endif
    if (::rename(temp.c_str(), target.c_str()) != 0) fail("Umbenennen fehlgeschlagen");
    flushFolder(target);
#ifdef TARVEX_BODEN_DATENBANK
    sql(db, "COMMIT");
    sqlite3_close(db);
    ::unlink(journal.c_str());
#endif
    return 0;
}
