// The package: untouched entries survive, saving is atomic, hostile input is refused, and the
// files written open in python-docx (LibreOffice opens the corpus results end to end).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/error_number.h"
#include "platform/word/file_system.h"
#include "word_test_support.h"

namespace tarvex::word {
namespace {

using namespace test;
using tarvex::testing::errorNumber;
namespace fs = std::filesystem;

using testing::TempFolder;

// Adds a fee table, a comment and a text box: touches document, comments and content types.
void editAll(Document& doc) {
    Table t = doc.Tables().Add(placeForNewTable(doc), 3, 5);
    t.Cell(1, 1).Range().InsertAfter("Zerlegung nach Nr. 30.1\r\n");
    t.Cell(3, 5).Range().InsertAfter("150,00 €");
    doc.Comments().Add(t.Cell(1, 5).Range(), "TARVEX_1");
    Shape box = doc.Shapes().AddTextbox(TextOrientation::Horizontal, 70.5, 708.7, 450.75, 54);
    box.SetName("Zahlungsziel");
    box.TextRange().InsertAfter("Zahlbar bis 15.03.2011.");
}

TEST(SavedTemplate, UntouchedEntriesAreByteIdenticalAfterSave) {
    for (const char* file :
         {"template-basic.docx", "template-no-start.docx", "template-two-starts.docx",
          "template-image.docx", "template-edge.docx"}) {
        SCOPED_TRACE(file);
        auto original = readBytes(templatePath(file));
        auto doc = Document::FromBytes(original);
        editAll(*doc);
        auto before = zipEntries(original);
        auto after = zipEntries(doc->SaveToBytes());
        for (const auto& [name, content] : before) {
            ASSERT_TRUE(after.count(name)) << name;
            if (name == "word/document.xml" || name == "word/comments.xml") continue;
            EXPECT_EQ(after[name], content) << name;
        }
        EXPECT_EQ(after.size(), before.size());
        // The changed main part keeps its declaration and the root's namespaces.
        EXPECT_EQ(after["word/document.xml"].rfind(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>", 0),
                  0u);
        EXPECT_NE(after["word/document.xml"].find("mc:Ignorable=\"w14 wp14 w15\""),
                  std::string::npos);
    }
}

TEST(Fidelity, OpeningAndSavingWithoutEditsReturnsTheSameBytes) {
    auto original = readBytes(templatePath("template-image.docx"));
    auto doc = Document::FromBytes(original);
    doc->Comments();
    doc->Tables().Item(1).Cell(1, 1).Range().Text();
    EXPECT_TRUE(doc->Saved());
    EXPECT_EQ(doc->SaveToBytes(), original);
}

TEST(Fidelity, PreservedBlanksAndUnknownMarkupSurviveAnEdit) {
    auto doc = Document::FromBytes(minimalDocx(
        R"(<w:p><w:r><w:t xml:space="preserve"> </w:t></w:r><w:r><w:t xml:space="preserve">   12,50</w:t></w:r></w:p>)"
        R"(<w:p><w:customXml w:element="x"><w:r><w:t>Kunde</w:t></w:r></w:customXml></w:p>)"));
    Range end = doc->Content();
    end.Collapse(CollapseDirection::End);
    end.InsertParagraphAfter();
    auto entries = zipEntries(doc->SaveToBytes());
    const std::string& xml = entries["word/document.xml"];
    EXPECT_NE(xml.find(R"(<w:t xml:space="preserve"> </w:t>)"), std::string::npos);
    EXPECT_NE(xml.find(R"(<w:customXml w:element="x">)"), std::string::npos);
    EXPECT_EQ(Document::FromBytes(doc->SaveToBytes())->Content().Text(), "    12,50\rKunde\r\r");
}

// A file system whose write or rename fails, for the atomic save.
class FailingFileSystem : public ForwardingFileSystem {
  public:
    enum class Fault { Write, Rename };
    FailingFileSystem(Fault fault) : ForwardingFileSystem(RealFileSystem()), fault_(fault) {}

    std::unique_ptr<WritableFile> CreateNew(const std::string& path) override {
        struct Full : WritableFile {
            std::unique_ptr<WritableFile> inner;
            void Append(std::span<const std::uint8_t> data) override {
                inner->Append(data.first(data.size() / 2));
                throw Error(61, "Datenträger voll");
            }
            void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
                inner->WriteAt(offset, data);
            }
            void KeepAttributes(const FileStatus& s) override { inner->KeepAttributes(s); }
            void Sync() override { inner->Sync(); }
            void Close() override { inner->Close(); }
        };
        auto file = target_.CreateNew(path);
        if (fault_ != Fault::Write) return file;
        auto full = std::make_unique<Full>();
        full->inner = std::move(file);
        return full;
    }
    void Rename(const std::string& from, const std::string& to) override {
        if (fault_ == Fault::Rename) throw Error(75, "Umbenennen fehlgeschlagen");
        target_.Rename(from, to);
    }

  private:
    Fault fault_;
};

TEST(AtomicSave, AFailureLeavesTheOriginalAndNoTemporaryFile) {
    for (auto fault : {FailingFileSystem::Fault::Write, FailingFileSystem::Fault::Rename}) {
        TempFolder folder;
        const auto path = testing::copyTemplate("template-basic.docx", folder.path()).string();
        const auto original = readBytes(path);
        auto doc = Document::Open(path);
        editAll(*doc);
        FailingFileSystem failing(fault);
        EXPECT_EQ(errorNumber([&] { doc->Save(&failing); }),
                  fault == FailingFileSystem::Fault::Write ? 61 : 75);
        EXPECT_EQ(readBytes(path), original);
        EXPECT_EQ(testing::entryCount(folder.path()), 1u);
        EXPECT_FALSE(doc->Saved());
    }
}

TEST(AtomicSave, MissingFileAndUnwritableFolderAreReported) {
    EXPECT_EQ(errorNumber([] { Document::Open("/nonexistent/folder/x.docx"); }), 53);
    EXPECT_NE(
        errorNumber([] { openTemplate("template-basic.docx")->SaveAs("/nonexistent/x.docx"); }), 0);
}

struct BadInput {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::string expected;  // part of the German description
};

std::vector<BadInput> badInputs() {
    std::string hugeZeros(65u << 20, '\0');
    auto docXml = [](const std::string& body) {
        return R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)" +
               body + "</w:body></w:document>";
    };
    auto withDocument = [&](const std::string& xml) {
        auto entries = zipEntries(minimalDocx(""));
        entries["word/document.xml"] = xml;
        return makeZip(entries);
    };
    auto utf16 = [](const std::string& ascii) {
        std::string out = "\xFF\xFE";
        for (char c : ascii) out += std::string{c, '\0'};
        return out;
    };
    auto noMain = zipEntries(minimalDocx(""));
    noMain.erase("word/document.xml");
    auto strict = zipEntries(minimalDocx(""));
    strict["_rels/.rels"] =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument" Target="word/document.xml"/></Relationships>)";
    auto truncated = readBytes(templatePath("template-basic.docx"));
    truncated.resize(truncated.size() / 2);
    return {
        {"NotAZip", {'H', 'a', 'l', 'l', 'o'}, "kein gültiges ZIP"},
        {"Truncated", truncated, "ZIP"},
        {"NoMainPart", makeZip(noMain), "word/document.xml"},
        {"MalformedXml", withDocument(docXml("<w:p>")), "Fehlerhaftes XML"},
        {"Doctype", withDocument("<!DOCTYPE x [<!ENTITY a \"aaaa\">]>" + docXml("<w:p/>")),
         "DOCTYPE"},
        {"DoctypeInUtf16",
         withDocument(utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><!DOCTYPE x []>" +
                            docXml("<w:p/>"))),
         "DOCTYPE"},
        {"HugeEntry", withDocument(docXml("<w:p/>") + "<!--" + hugeZeros + "-->"), "zu groß"},
        {"StrictPackage", makeZip(strict), "Strict"},
        {"OtherNamespace", withDocument(R"(<w:document xmlns:w="urn:x"><w:body/></w:document>)"),
         "Namensraum"},
    };
}

TEST(BadInput, EachGivesAClearErrorAndNoDocument) {
    for (const auto& input : badInputs()) {
        try {
            Document::FromBytes(input.bytes);
            ADD_FAILURE() << input.name << " was accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 5792) << input.name;
            EXPECT_NE(e.description().find(input.expected), std::string::npos)
                << input.name << ": " << e.description();
        }
    }
}

TEST(BadInput, ControlCharactersInTextAreRefused) {
    auto doc = openTemplate("template-basic.docx");
    Range r = doc->Content();
    r.Collapse(CollapseDirection::End);
    EXPECT_THROW(r.InsertAfter(std::string("a\x01") + "b"), Error);
}

// --- other programs must open what we write ------------------------------------------------------

TEST(Interop, PythonDocxReadsTablesAndCells) {
    // The Debian package installs for the system interpreter, which may not be first on PATH.
    std::string python;
    for (const char* candidate : {"/usr/bin/python3", "python3"})
        if (python.empty() &&
            std::system((std::string(candidate) + " -c 'import docx' >/dev/null 2>&1").c_str()) ==
                0)
            python = candidate;
    if (python.empty()) GTEST_SKIP() << "python-docx fehlt (Debian-Paket python3-docx)";
    TempFolder folder;
    auto doc = openTemplate("template-basic.docx");
    editAll(*doc);
    doc->SaveAs(folder.file("out.docx"));
    // The number of tables, and the text of the fee table's cell (3,5).
    const std::string command =
        python +
        " -c \"import docx,sys; d=docx.Document(sys.argv[1]); c=d.tables[1].rows[2]._tr.tc_lst[4];"
        " print(len(d.tables), ''.join(x.text for x in c.iter() if x.tag.endswith('}t')))\" '" +
        folder.file("out.docx") + "' > '" + folder.file("result.txt") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(testing::readFile(folder.file("result.txt")), "2 150,00 €\n");
}

}  // namespace
}  // namespace tarvex::word
