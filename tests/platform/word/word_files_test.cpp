// The invoice as a file: links are saved through, permissions and owner survive a save, a
// read-only invoice is refused, and names that are no regular file are refused at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "common/error_number.h"
#include "platform/word/file_system.h"
#include "word_test_support.h"

namespace tarvex::word {
namespace {

using namespace test;
using tarvex::testing::errorNumber;
using tarvex::testing::TempFolder;
using tarvex::testing::entryCount;
namespace fs = std::filesystem;

// Opens `path`, adds a tagged comment and saves through `path`.
void editAndSave(const std::string& path) {
    auto doc = Document::Open(path);
    doc->Comments().Add(placeForNewTable(*doc), "TARVEX_1");
    doc->Save();
}

bool edited(const std::string& path) {
    const auto texts = commentTexts(*Document::Open(path));
    return std::count(texts.begin(), texts.end(), "TARVEX_1") == 1;
}

TEST(InvoiceFile, ASymlinkIsSavedThroughToItsTargetAndStaysALink) {
    TempFolder folder;
    fs::create_directories(folder.path() / "ablage");
    fs::create_directories(folder.path() / "links" / "tief");
    const fs::path target = testing::copyTemplate("template-basic.docx", folder.path() / "ablage");
    // A relative link to a relative link: both are followed.
    fs::create_symlink("../ablage/template-basic.docx", folder.path() / "links" / "zwischen.docx");
    fs::create_symlink("../zwischen.docx", folder.path() / "links" / "tief" / "rechnung.docx");
    const fs::path link = folder.path() / "links" / "tief" / "rechnung.docx";

    editAndSave(link.string());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "links" / "zwischen.docx"));
    EXPECT_TRUE(edited(target.string()));
    // The temporary file lived beside the target and is gone.
    EXPECT_EQ(entryCount(folder.path() / "ablage"), 1u);
    EXPECT_EQ(entryCount(folder.path() / "links" / "tief"), 1u);
}

TEST(InvoiceFile, AHardLinkedInvoiceGetsANewFileAndTheOtherNameKeepsTheOldOne) {
    TempFolder folder;
    const fs::path path = testing::copyTemplate("template-basic.docx", folder.path());
    const fs::path other = folder.path() / "kopie.docx";
    fs::create_hard_link(path, other);
    const auto before = readBytes(other.string());
    editAndSave(path.string());
    EXPECT_TRUE(edited(path.string()));
    EXPECT_EQ(readBytes(other.string()), before);
}

TEST(InvoiceFile, SavingKeepsModeOwnerAndGroup) {
    TempFolder folder;
    const std::string path = testing::copyTemplate("template-basic.docx", folder.path()).string();
    // Root may give the file to another group; anybody else keeps their own.
    const gid_t group = ::geteuid() == 0 ? 1000 : ::getegid();
    ASSERT_EQ(::chown(path.c_str(), static_cast<uid_t>(-1), group), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    editAndSave(path);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);  // a new file, written atomically
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, group);
    EXPECT_TRUE(edited(path));
}

TEST(InvoiceFile, AReadOnlyInvoiceIsRefusedEvenForTheSuperuser) {
    TempFolder folder;
    const std::string path = testing::copyTemplate("template-basic.docx", folder.path()).string();
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const auto before = readBytes(path);
    auto doc = Document::Open(path);
    doc->Comments().Add(placeForNewTable(*doc), "TARVEX_1");
    try {
        doc->Save();
        ADD_FAILURE() << "a read-only invoice was overwritten";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 70);
        EXPECT_NE(e.description().find("schreibgeschützt"), std::string::npos) << e.description();
    }
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(entryCount(folder.path()), 1u);
    EXPECT_FALSE(doc->Saved());
}

TEST(InvoiceFile, NamesThatAreNoRegularFileAreRefusedAtOnceSayingWhatTheyAre) {
    TempFolder folder;
    const std::string fifo = folder.file("pipe.docx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(folder.path() / "ordner.docx");
    const struct {
        std::string path;
        std::string kind;
    } cases[] = {
        {fifo, "benannte Pipe (FIFO)"},
        {"/dev/zero", "zeichenorientiertes Gerät"},
        {folder.file("ordner.docx"), "Ordner"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            Document::Open(c.path);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 75);
            EXPECT_NE(e.description().find("keine gewöhnliche Datei, sondern"), std::string::npos)
                << e.description();
            EXPECT_NE(e.description().find(c.kind), std::string::npos) << e.description();
        }
        // Nor is anything saved over them.
        EXPECT_EQ(errorNumber([&] { openTemplate("template-basic.docx")->SaveAs(c.path); }), 75);
    }
    EXPECT_EQ(entryCount(folder.path()), 2u);
}

}  // namespace
}  // namespace tarvex::word
