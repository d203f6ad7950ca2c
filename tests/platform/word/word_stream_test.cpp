// The package read where it lies: opening reads only the parts the engine parses, saving copies
// the other entries as stored, a later save starts from the file the earlier one wrote, and a
// file changed by someone else since opening is not saved over.
#include <gtest/gtest.h>
#include <zip.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "common/error_number.h"
#include "platform/word/file_system.h"
#include "word_test_support.h"

namespace tarvex::word {
namespace {

using namespace test;
using tarvex::testing::errorNumber;
using tarvex::testing::TempFolder;
namespace fs = std::filesystem;

constexpr const char* kMedia = "word/media/scan.bin";
constexpr const char* kPacked = "word/media/packed.bin";

std::string noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(random());
    return out;
}

// A minimal package plus a large entry stored uncompressed and a text entry deflated at the
// lowest level (the engine deflates at the default level: a copy that was recompressed would
// differ).
std::vector<std::uint8_t> packageWithMedia(std::size_t mediaBytes, unsigned seed = 17) {
    std::vector<std::uint8_t> bytes = minimalDocx("<w:p><w:r><w:t>Rechnung</w:t></w:r></w:p>");
    zip_error_t error;
    zip_error_init(&error);
    void* copy = std::malloc(bytes.size());
    std::memcpy(copy, bytes.data(), bytes.size());
    zip_source_t* source = zip_source_buffer_create(copy, bytes.size(), 1, &error);
    zip_t* archive = zip_open_from_source(source, 0, &error);
    zip_source_keep(source);
    const std::string media = noise(mediaBytes, seed);
    std::string packed;
    for (int i = 0; i < 5000; ++i) packed += "Messpunkt " + std::to_string(i) + " geprüft. ";
    const zip_int64_t stored = zip_file_add(
        archive, kMedia, zip_source_buffer(archive, media.data(), mediaBytes, 0), 0);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(stored), ZIP_CM_STORE, 0);
    const zip_int64_t light = zip_file_add(
        archive, kPacked, zip_source_buffer(archive, packed.data(), packed.size(), 0), 0);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(light), ZIP_CM_DEFLATE, 1);
    return closeToBytes(archive, source);
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// An entry as stored: compression method, checksum and the compressed bytes.
struct Stored {
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::string data;
    bool operator==(const Stored&) const = default;
};

Stored storedEntry(const std::vector<std::uint8_t>& package, const std::string& name) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(package.data(), package.size(), 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    EXPECT_NE(archive, nullptr);
    zip_stat_t st;
    zip_stat(archive, name.c_str(), 0, &st);
    Stored out{st.comp_method, st.crc, std::string(st.comp_size, '\0')};
    zip_file_t* file = zip_fopen(archive, name.c_str(), ZIP_FL_COMPRESSED);
    zip_fread(file, out.data.data(), st.comp_size);
    zip_fclose(file);
    zip_discard(archive);
    return out;
}

// Counts the bytes read from the files it opens.
class CountingFileSystem : public ForwardingFileSystem {
  public:
    CountingFileSystem() : ForwardingFileSystem(RealFileSystem()) {}
    std::unique_ptr<ReadableFile> OpenForReading(const std::string& path,
                                                 std::uint64_t maxBytes) override {
        struct Counted : ReadableFile {
            std::unique_ptr<ReadableFile> inner;
            std::uint64_t* read = nullptr;
            std::uint64_t Size() const override { return inner->Size(); }
            std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
                const std::size_t n = inner->ReadAt(offset, into);
                *read += n;
                return n;
            }
            void CheckUnchanged() override { inner->CheckUnchanged(); }
        };
        auto counted = std::make_unique<Counted>();
        counted->inner = target_.OpenForReading(path, maxBytes);
        counted->read = &read;
        return counted;
    }
    std::uint64_t read = 0;
};

TEST(Streaming, OpeningReadsOnlyThePartsItParsesAndSavingCopiesTheOthersAsStored) {
    TempFolder folder;
    const std::string path = folder.file("rechnung.docx");
    const std::vector<std::uint8_t> original = packageWithMedia(8u << 20);
    writeFile(path, original);

    CountingFileSystem counting;
    auto doc = Document::Open(path, &counting);
    EXPECT_EQ(doc->Content().Text(), "Rechnung\r");
    EXPECT_LT(counting.read, 1u << 20) << "the media entry was read";

    doc->Content().InsertAfter("Summe");
    doc->Save(&counting);
    const std::vector<std::uint8_t> saved = readBytes(path);
    for (const char* name : {kMedia, kPacked})
        EXPECT_EQ(storedEntry(saved, name), storedEntry(original, name)) << name;
    EXPECT_EQ(storedEntry(saved, kMedia).method, ZIP_CM_STORE);
    EXPECT_EQ(Document::Open(path)->Content().Text(), "RechnungSumme\r");
    // In memory the same entries come out the same way.
    auto inMemory = Document::FromBytes(original);
    inMemory->Content().InsertAfter("Summe");
    const auto bytes = inMemory->SaveToBytes();
    EXPECT_EQ(storedEntry(bytes, kMedia), storedEntry(original, kMedia));
    EXPECT_EQ(zipEntries(bytes)["word/document.xml"], zipEntries(saved)["word/document.xml"]);
}

TEST(Streaming, AChangedPartLargerThanAWritePieceGetsAConsistentHeader) {
    // Random letters hardly compress: the rewritten main part is larger than the piece the
    // save gathers before writing, so its header is corrected in bytes already written.
    std::mt19937 random(5);
    std::string letters(1u << 20, 'a');
    for (char& c : letters) c = static_cast<char>('a' + random() % 26);
    TempFolder folder;
    const std::string path = folder.file("rechnung.docx");
    writeFile(path, packageWithMedia(3u << 20));
    auto doc = Document::Open(path);
    doc->Content().InsertAfter(letters);
    doc->Save();
    // Opening checks every local header against the central directory.
    auto again = Document::Open(path);
    EXPECT_EQ(again->Content().Text(), "Rechnung" + letters + "\r");
    EXPECT_EQ(storedEntry(readBytes(path), kMedia),
              storedEntry(packageWithMedia(3u << 20), kMedia));
}

TEST(Streaming, ALaterSaveKeepsWhatAnEarlierSaveWrote) {
    TempFolder folder;
    const std::string path = folder.file("rechnung.docx");
    writeFile(path, minimalDocx("<w:p><w:r><w:t>Rechnung</w:t></w:r></w:p>"));
    auto doc = Document::Open(path);
    // The first save adds the comments part, its relationship and its content type ...
    doc->Comments().Add(doc->Content(), "TARVEX_1");
    doc->Save();
    // ... the second changes only the body: the rest must come from the first save's file.
    doc->Content().InsertAfter(" 2011");
    doc->Save();
    EXPECT_TRUE(doc->Saved());
    auto again = Document::Open(path);
    EXPECT_EQ(commentTexts(*again), std::vector<std::string>{"TARVEX_1"});
    EXPECT_EQ(again->Content().Text(), "Rechnung 2011\r");
    const auto entries = zipEntries(readBytes(path));
    EXPECT_NE(entries.at("[Content_Types].xml").find("/word/comments.xml"), std::string::npos);
}

TEST(Streaming, AFileChangedSinceOpeningIsNotSavedOver) {
    TempFolder folder;
    const std::string path = folder.file("rechnung.docx");
    writeFile(path, packageWithMedia(1u << 16, 1));
    auto doc = Document::Open(path);
    doc->Content().InsertAfter("Summe");
    // Another program rewrites the file in place, as long as before but with other media: a
    // save would mix its entries with the text read from the old file.
    const std::vector<std::uint8_t> foreign = packageWithMedia(1u << 16, 2);
    ASSERT_EQ(foreign.size(), readBytes(path).size());
    const auto opened = fs::last_write_time(path);
    writeFile(path, foreign);
    fs::last_write_time(path, opened + std::chrono::seconds(2));
    EXPECT_EQ(errorNumber([&] { doc->Save(); }), 75);
    EXPECT_EQ(readBytes(path), foreign);
    EXPECT_EQ(testing::entryCount(folder.path()), 1u);
    EXPECT_FALSE(doc->Saved());
}

}  // namespace
}  // namespace tarvex::word
