#pragma once
// The zip container of a .docx through libzip: entries listed and read with limits against
// hostile archives, and written back with changed entries replaced and every other entry
// copied as stored. Failures raise tarvex::Error 5792 with a German description.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

struct zip;

namespace tarvex::word::detail {

struct PackageEntry {
    std::string name;
    std::uint64_t index = 0;
    std::uint64_t size = 0;  // declared uncompressed size
};

class Package {
  public:
    static constexpr std::uint64_t kMaxPartBytes = 64ull << 20;
    static constexpr std::uint64_t kMaxEntries = 10000;

    Package() = default;
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;
    ~Package();

    // Takes a copy of the archive bytes and lists its entries; 5792 when it is no zip.
    void open(std::span<const std::uint8_t> bytes);
    const std::vector<PackageEntry>& entries() const { return entries_; }
    // Entry by part name, compared without regard to case; null when absent.
    const PackageEntry* find(const std::string& name) const;
    // Uncompressed content; 5792 when larger than `limit` or unreadable.
    std::string read(const PackageEntry& entry, std::uint64_t limit = kMaxPartBytes) const;
    // The archive with `parts` (name -> content) replacing or adding entries.
    std::vector<std::uint8_t> write(const std::map<std::string, std::string>& parts) const;

  private:
    std::vector<std::uint8_t> bytes_;
    zip* archive_ = nullptr;
    std::vector<PackageEntry> entries_;
};

std::string lowerAscii(std::string s);

}  // namespace tarvex::word::detail
