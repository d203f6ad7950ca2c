#include "word_test_support.h"

#include <zip.h>

#include <stdexcept>

namespace tarvex::word::test {

std::vector<std::uint8_t> readBytes(const std::string& path) {
    const std::string bytes = testing::readFile(path);
    return {bytes.begin(), bytes.end()};
}

std::shared_ptr<Document> openTemplate(const std::string& name) {
    return Document::FromBytes(readBytes(templatePath(name)));
}

std::vector<std::uint8_t> makeZip(const std::map<std::string, std::string>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    zip_source_keep(source);
    for (const auto& [name, content] : entries) {
        zip_source_t* data = zip_source_buffer(archive, content.data(), content.size(), 0);
        zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8);
    }
    return closeToBytes(archive, source);
}

std::vector<std::uint8_t> closeToBytes(zip_t* archive, zip_source_t* source) {
    zip_close(archive);
    zip_stat_t st;
    zip_source_stat(source, &st);
    std::vector<std::uint8_t> out(st.size);
    zip_source_open(source);
    zip_source_read(source, out.data(), st.size);
    zip_source_close(source);
    zip_source_free(source);
    return out;
}

std::vector<std::uint8_t> minimalDocx(const std::string& bodyXml,
                                      const std::map<std::string, std::string>& extra) {
    std::map<std::string, std::string> entries{
        {"[Content_Types].xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
         R"(<Default Extension="xml" ContentType="application/xml"/>)"
         R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
         R"(</Types>)"},
        {"_rels/.rels",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
         R"(</Relationships>)"},
        {"word/document.xml",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)" +
             bodyXml + R"(<w:sectPr/></w:body></w:document>)"}};
    for (const auto& [name, content] : extra) entries[name] = content;
    return makeZip(entries);
}

std::map<std::string, std::string> commentsPart(const std::string& comments) {
    return {{"word/comments.xml",
             R"(<w:comments xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)" +
                 comments + "</w:comments>"},
            {"word/_rels/document.xml.rels",
             R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
             R"(<Relationship Id="rId5" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments" Target="comments.xml"/></Relationships>)"}};
}

std::map<std::string, std::string> zipEntries(const std::vector<std::uint8_t>& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive) throw std::runtime_error("not a zip");
    std::map<std::string, std::string> out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st);
        std::string content(st.size, '\0');
        zip_file_t* f = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        zip_fread(f, content.data(), st.size);
        zip_fclose(f);
        out[st.name] = content;
    }
    zip_discard(archive);
    return out;
}

Range placeForNewTable(Document& doc) {
    std::optional<Range> place;
    Comments comments = doc.Comments();
    for (long i = 1; i <= comments.Count(); ++i) {
        if (comments.Item(i).Text() != "lumStart") continue;
        Range r = comments.Item(i).Reference();
        r.Collapse(CollapseDirection::Start);
        r.MoveStartWord(-1);
        r.InsertParagraphBefore();
        r.Collapse(CollapseDirection::Start);
        place = r;
    }
    if (place) return *place;
    Range end = doc.Content();
    end.Collapse(CollapseDirection::End);
    end.InsertParagraphAfter();
    end.Collapse(CollapseDirection::End);
    return end;
}

}  // namespace tarvex::word::test
