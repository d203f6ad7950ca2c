#pragma once
// The zip container of a .docx through libzip: entries listed and read with limits against
// hostile archives, and written back with changed entries replaced and every other entry
// copied as stored. The archive is read where it lies (a file or bytes in memory): only the
// parts asked for are read, and writing streams the new archive into a file, copying the
// compressed data of unchanged entries without holding it. Failures raise tarvex::Error 5792
// with a German description.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/word/file_system.h"

struct zip;

namespace tarvex::word::detail {

struct PackageEntry {
    std::string name;
    std::uint64_t index = 0;
    std::uint64_t size = 0;  // declared uncompressed size
};

// Bytes in memory, read as a file.
class BytesFile final : public ReadableFile {
  public:
    explicit BytesFile(std::span<const std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;
    void CheckUnchanged() override {}

  private:
    std::vector<std::uint8_t> bytes_;
};

// A file written into memory.
class BytesSink final : public WritableFile {
  public:
    void Append(std::span<const std::uint8_t> data) override {
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    void KeepAttributes(const FileStatus&) override {}
    void Sync() override {}
    void Close() override {}
    std::vector<std::uint8_t> bytes;
};

class Package {
  public:
    static constexpr std::uint64_t kMaxPartBytes = 64ull << 20;
    static constexpr std::uint64_t kMaxEntries = 10000;

    Package();
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;
    ~Package();

    // Opens the archive in `file`, which the package keeps, and lists its entries; 5792 when
    // it is no zip or an ambiguous one.
    void open(std::unique_ptr<ReadableFile> file);
    const std::vector<PackageEntry>& entries() const { return entries_; }
    // Entry by part name, compared without regard to case; null when absent.
    const PackageEntry* find(const std::string& name) const;
    // Uncompressed content; 5792 when larger than `limit` or unreadable.
    std::string read(const PackageEntry& entry, std::uint64_t limit = kMaxPartBytes) const;
    // Writes the archive with `parts` (name -> content) replacing or adding entries to `out`;
    // every other entry is copied as stored. Raises 75 (or what `out` raised) on failure.
    void write(const std::map<std::string, std::string>& parts, WritableFile& out) const;
    void swap(Package& other) noexcept;

  private:
    struct Source;
    std::unique_ptr<ReadableFile> file_;
    std::unique_ptr<Source> source_;
    zip* archive_ = nullptr;
    std::vector<PackageEntry> entries_;
};

std::string lowerAscii(std::string s);

}  // namespace tarvex::word::detail
