// Packages made to break a reader: extreme nesting, parts in other encodings, relationships
// that point two roles at one part or at the package's own bookkeeping, and zips whose entry
// names mean different things to different readers. Each is refused with a clear message or
// handled fully; none crashes or loses text.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "word_test_support.h"

namespace tarvex::word {
namespace {

using namespace test;

const std::string kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const std::string kRels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const std::string kDocumentRels = "word/_rels/document.xml.rels";

// What the engine does with a document on OK: reads everything, adds a table and a comment
// and saves; a refusal must be a tarvex::Error.
std::vector<std::uint8_t> okPath(const std::vector<std::uint8_t>& bytes) {
    auto doc = Document::FromBytes(bytes);
    (void)doc->Content().Text();
    (void)doc->Shapes().Count();
    (void)doc->Tables().Count();
    Table t = doc->Tables().Add(placeForNewTable(*doc), 2, 5);
    t.Cell(1, 1).Range().InsertAfter("Zerlegung");
    doc->Comments().Add(t.Cell(1, 5).Range(), "TARVEX_1");
    return doc->SaveToBytes();
}

// The description of the error `bytes` are refused with, "" when they are accepted.
std::string refusal(const std::vector<std::uint8_t>& bytes) {
    try {
        okPath(bytes);
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 5792) << e.description();
        return e.description();
    }
    return "";
}

std::string repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(Hostile, DeepNestingIsRefusedAtLoadWithoutExhaustingTheStack) {
    const int kLevels = 100000;
    const struct {
        const char* what;
        std::string body;
    } cases[] = {
        {"content controls", repeat("<w:sdt><w:sdtContent>", kLevels) + "<w:p/>" +
                                 repeat("</w:sdtContent></w:sdt>", kLevels)},
        {"tables", repeat("<w:tbl><w:tr><w:tc>", kLevels) + "<w:p/>" +
                       repeat("</w:tc></w:tr></w:tbl>", kLevels)},
        {"unknown elements", "<w:p><w:r>" + repeat("<x:a>", kLevels) +
                                 repeat("</x:a>", kLevels) + "</w:r></w:p>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string why = refusal(minimalDocx(c.body));
        EXPECT_NE(why.find("zu tief verschachtelt"), std::string::npos) << why;
    }
    // The limit is 1000 levels below the root element (document 0, body 1, paragraph 2, run 3).
    auto nested = [](int levels) {
        return "<w:p><w:r>" + repeat("<x:a>", levels) + repeat("</x:a>", levels) + "</w:r></w:p>";
    };
    EXPECT_EQ(refusal(minimalDocx(nested(997))), "");
    EXPECT_NE(refusal(minimalDocx(nested(998))).find("zu tief"), std::string::npos);
    // Ordinary nesting (a table in a table in a content control) stays well below the limit.
    EXPECT_EQ(refusal(minimalDocx(repeat("<w:sdt><w:sdtContent><w:tbl><w:tr><w:tc>", 20) +
                                  "<w:p/>" + repeat("</w:tc></w:tr></w:tbl><w:p/></w:sdtContent></w:sdt>", 20))),
              "");
}

TEST(Hostile, APartOfMoreThanFourMillionElementsIsRefusedBeforeItIsParsed) {
    // 4,000,001 empty paragraphs: 24 MB that would cost the engine well over half a gigabyte.
    const std::string why = refusal(minimalDocx(repeat("<w:p/>", 4'000'001)));
    EXPECT_NE(why.find("höchstens 4000000"), std::string::npos) << why;
}

// document.xml holding `text` in one paragraph, declared and encoded as `encoding`.
std::string encodedDocument(const std::string& encoding, const std::string& text) {
    const std::string xml = "<?xml version=\"1.0\" encoding=\"" + encoding +
                            "\" standalone=\"yes\"?><w:document xmlns:w=\"" + kW +
                            "\"><w:body><w:p><w:r><w:t>" + text +
                            "</w:t></w:r></w:p><w:sectPr/></w:body></w:document>";
    std::string out;
    for (std::size_t i = 0; i < xml.size();) {
        const unsigned char c = static_cast<unsigned char>(xml[i]);
        const char32_t cp = c < 0x80 ? c : ((c & 0x1F) << 6) | (xml[i + 1] & 0x3F);
        i += c < 0x80 ? 1 : 2;  // the test texts stay within two-byte sequences
        if (encoding == "UTF-16") {
            if (out.empty()) out = "\xFF\xFE";
            out += static_cast<char>(cp & 0xFF);
            out += static_cast<char>(cp >> 8);
        } else {
            out += static_cast<char>(cp);
        }
    }
    return out;
}

TEST(Hostile, PartsInOtherEncodingsKeepEveryCharacterAndSayHowTheyAreWritten) {
    const std::string text = "Vermessungsbüro Müller, Straße";
    for (const std::string encoding : {"UTF-16", "ISO-8859-1"}) {
        SCOPED_TRACE(encoding);
        auto bytes = minimalDocx("", {{"word/document.xml", encodedDocument(encoding, text)}});
        const auto saved = okPath(bytes);
        const std::string xml = zipEntries(saved)["word/document.xml"];
        // Written as UTF-8 and declared so, or left as it was.
        EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>", 0),
                  0u) << xml.substr(0, 80);
        EXPECT_NE(xml.find("<w:t>" + text + "</w:t>"), std::string::npos);
        EXPECT_EQ(Document::FromBytes(saved)->Content().Text().rfind(text, 0), 0u);
    }
}

TEST(Hostile, RelationshipsThatMixRolesOrPointAtBookkeepingAreRefused) {
    auto withComments = [](const std::string& target, const std::string& extraRels = "",
                           std::map<std::string, std::string> extra = {}) {
        extra[kDocumentRels] =
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" Type=\"" + kRels + "comments\" Target=\"" + target +
            "\"/>" + extraRels + "</Relationships>";
        return minimalDocx("<w:p><w:r><w:t>Rechnung</w:t></w:r></w:p>", extra);
    };
    const std::string comments = "<w:comments xmlns:w=\"" + kW + "\"/>";
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"comments are the main document", withComments("document.xml")},
        {"comments are the relationships", withComments("_rels/document.xml.rels")},
        {"comments are the content types", withComments("../[Content_Types].xml")},
        {"comments and settings share a part",
         withComments("comments.xml",
                      "<Relationship Id=\"rId2\" Type=\"" + kRels +
                          "settings\" Target=\"comments.xml\"/>",
                      {{"word/comments.xml", comments}})},
        {"comments declared as the main document",
         withComments("notiz.xml", "",
                      {{"word/notiz.xml", comments},
                       {"[Content_Types].xml",
                        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
                        "</Types>"}})},
        {"extended comments are the comments",
         withComments("comments.xml",
                      "<Relationship Id=\"rId2\" Type=\"http://schemas.microsoft.com/office/2011/"
                      "relationships/commentsExtended\" Target=\"comments.xml\"/>",
                      {{"word/comments.xml", comments}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string why = refusal(c.bytes);
        EXPECT_NE(why.find("fehlerhaft"), std::string::npos) << why;
    }
}

// A zip of stored entries, each with a header name and optionally a Unicode path extra field
// (0x7075) naming it differently.
struct RawEntry {
    std::string name, unicodeName, content;
};

std::uint32_t crc32Of(const std::string& data) {
    return static_cast<std::uint32_t>(
        ::crc32(0L, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::vector<std::uint8_t> rawZip(const std::vector<RawEntry>& entries) {
    std::string out, central;
    auto le = [](std::string& s, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    for (const RawEntry& e : entries) {
        std::string extra;
        if (!e.unicodeName.empty()) {
            le(extra, 0x7075, 2);
            le(extra, static_cast<std::uint32_t>(5 + e.unicodeName.size()), 2);
            le(extra, 1, 1);
            le(extra, crc32Of(e.name), 4);
            extra += e.unicodeName;
        }
        const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
        auto header = [&](std::string& s, bool isCentral) {
            le(s, isCentral ? 0x02014b50 : 0x04034b50, 4);
            if (isCentral) le(s, 20, 2);
            le(s, 20, 2);  // version needed
            le(s, 0, 2);   // flags
            le(s, 0, 2);   // stored
            le(s, 0, 4);   // time, date
            le(s, crc32Of(e.content), 4);
            le(s, static_cast<std::uint32_t>(e.content.size()), 4);
            le(s, static_cast<std::uint32_t>(e.content.size()), 4);
            le(s, static_cast<std::uint32_t>(e.name.size()), 2);
            le(s, static_cast<std::uint32_t>(extra.size()), 2);
            if (isCentral) {
                le(s, 0, 2);  // comment length
                le(s, 0, 4);  // disk, internal attributes
                le(s, 0, 4);  // external attributes
                le(s, offset, 4);
            }
            s += e.name + extra;
        };
        header(out, false);
        out += e.content;
        header(central, true);
    }
    const std::uint32_t centralOffset = static_cast<std::uint32_t>(out.size());
    out += central;
    le(out, 0x06054b50, 4);
    le(out, 0, 4);
    le(out, static_cast<std::uint32_t>(entries.size()), 2);
    le(out, static_cast<std::uint32_t>(entries.size()), 2);
    le(out, static_cast<std::uint32_t>(central.size()), 4);
    le(out, centralOffset, 4);
    le(out, 0, 2);
    return {out.begin(), out.end()};
}

TEST(Hostile, AmbiguousEntryNamesAreRefused) {
    auto parts = zipEntries(minimalDocx("<w:p><w:r><w:t>Rechnung</w:t></w:r></w:p>"));
    std::vector<RawEntry> plain;
    for (const auto& [name, content] : parts) plain.push_back({name, "", content});
    auto with = [&](RawEntry extra) {
        auto entries = plain;
        entries.push_back(std::move(extra));
        return rawZip(entries);
    };
    auto renamed = [&](const std::string& from, const std::string& to) {
        auto entries = plain;
        for (auto& e : entries)
            if (e.name == from) e.unicodeName = to;
        return rawZip(entries);
    };
    const std::string other = parts["word/document.xml"];
    EXPECT_EQ(refusal(rawZip(plain)), "");
    // A Unicode name that only spells the header's name in another encoding is fine.
    EXPECT_EQ(refusal(renamed("word/document.xml", "word/document.xml")), "");
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"names equal but for case", with({"word/Document.xml", "", other})},
        {"Unicode name of another entry", with({"word/zweit.xml", "word/document.xml", other})},
        {"Unicode name unlike the header's", renamed("word/document.xml", "word/anders.xml")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string why = refusal(c.bytes);
        EXPECT_NE(why.find("mehrdeutig"), std::string::npos) << why;
    }
}

}  // namespace
}  // namespace tarvex::word
