// The floor the command-line runs are measured against: what any program that edits a .docx
// must do at least. Reads the package, parses the document and comments parts, serialises them
// again, writes the package with both parts replaced, flushes it to disk and renames it into
// place. Nothing else: no character model, no plug-in, no database.
//
//   tarvex_boden EINGABE.docx AUSGABE.docx
#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <pugixml.hpp>
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) fail("Aufruf: tarvex_boden EINGABE.docx AUSGABE.docx");
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
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail("Ausgabe nicht anlegbar");
    for (std::size_t done = 0; done < out.size();) {
        ssize_t n = ::write(fd, out.data() + done, out.size() - done);
        if (n <= 0) fail("Schreiben fehlgeschlagen");
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) fail("Sichern fehlgeschlagen");
    if (::rename(temp.c_str(), target.c_str()) != 0) fail("Umbenennen fehlgeschlagen");
    std::string folder = target.substr(0, target.find_last_of('/') + 1);
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}
