#pragma once
// The few file operations a document needs, behind an interface so tests can inject faults
// (full disk, failed rename) through a forwarding wrapper. Failures raise tarvex::Error:
// 53 file not found, 61 disk full, 70 permission denied, 75 any other access error.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvex::word {

// What a save must keep of the file it replaces.
struct FileStatus {
    unsigned mode = 0;  // st_mode: kind and permission bits
    unsigned uid = 0;
    unsigned gid = 0;
    // Whether the file may be written: for the superuser, whether any write bit is set, so
    // that a file marked read-only stays so for every user.
    bool writable = false;
};

// A file open for reading at any position. It stays on the file it opened, even when another
// file is renamed over its name meanwhile.
class ReadableFile {
  public:
    virtual ~ReadableFile() = default;
    // The size when it was opened.
    virtual std::uint64_t Size() const = 0;
    // Reads up to `into.size()` bytes at `offset`; fewer only at the end of the file.
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
    // Raises 75 when the file was written since it was opened (its size or modification time
    // changed): what was read before and what is read now may not belong together.
    virtual void CheckUnchanged() = 0;
};

// A file open for writing; closing without Sync may lose data.
class WritableFile {
  public:
    virtual ~WritableFile() = default;
    virtual void Append(std::span<const std::uint8_t> data) = 0;
    // Writes over bytes appended before, from `offset`; never past the end (the file does not
    // grow).
    virtual void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
    // Gives the file the permission bits of `original`, and its owner and group as far as the
    // process may set them.
    virtual void KeepAttributes(const FileStatus& original) = 0;
    // Flushes the data to the storage device.
    virtual void Sync() = 0;
    virtual void Close() = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Whole content of a file; refuses files larger than `maxBytes` with 75.
    virtual std::vector<std::uint8_t> ReadFile(const std::string& path, std::size_t maxBytes) = 0;
    // Opens a regular file for reading without holding its content; refuses files larger
    // than `maxBytes` with 75, and anything but a regular file without waiting on it.
    virtual std::unique_ptr<ReadableFile> OpenForReading(const std::string& path,
                                                         std::uint64_t maxBytes) = 0;
    // Creates a new file that did not exist before (fails when it exists), readable and
    // writable by its owner only.
    virtual std::unique_ptr<WritableFile> CreateNew(const std::string& path) = 0;
    // The file's status (links followed), or nothing when it does not exist.
    virtual std::optional<FileStatus> Status(const std::string& path) = 0;
    // The path a symbolic link finally points to; `path` itself when it is no link.
    virtual std::string ResolveLinks(const std::string& path) = 0;
    // Replaces `to` by `from` in one step.
    virtual void Rename(const std::string& from, const std::string& to) = 0;
    // Removes a file; a missing file is no failure. Never raises.
    virtual void Remove(const std::string& path) noexcept = 0;
    // Flushes a folder's entries (so a rename survives a crash).
    virtual void SyncFolder(const std::string& path) = 0;
};

// The process's real file system.
FileSystem& RealFileSystem();

// Passes every call on to another file system; tests override single calls to inject faults.
class ForwardingFileSystem : public FileSystem {
  public:
    explicit ForwardingFileSystem(FileSystem& target) : target_(target) {}
    std::vector<std::uint8_t> ReadFile(const std::string& path, std::size_t maxBytes) override {
        return target_.ReadFile(path, maxBytes);
    }
    std::unique_ptr<ReadableFile> OpenForReading(const std::string& path,
                                                 std::uint64_t maxBytes) override {
        return target_.OpenForReading(path, maxBytes);
    }
    std::unique_ptr<WritableFile> CreateNew(const std::string& path) override {
        return target_.CreateNew(path);
    }
    std::optional<FileStatus> Status(const std::string& path) override {
        return target_.Status(path);
    }
    std::string ResolveLinks(const std::string& path) override {
        return target_.ResolveLinks(path);
    }
    void Rename(const std::string& from, const std::string& to) override {
        target_.Rename(from, to);
    }
    void Remove(const std::string& path) noexcept override { target_.Remove(path); }
    void SyncFolder(const std::string& path) override { target_.SyncFolder(path); }

  protected:
    FileSystem& target_;
};

// Replaces the file at `path` with `data` atomically: a temporary file beside it is written,
// flushed and renamed over it. On any failure the temporary file is removed, the old file is
// unchanged, and the failure is raised again.
// A symbolic link is saved through: the file it points to is replaced (the temporary file lies
// in that file's folder) and the link stays. The new file keeps the old one's permission bits,
// owner and group. A file without write permission is refused (70, "schreibgeschützt"), as is
// anything but a regular file (75).
void WriteFileAtomically(FileSystem& fs, const std::string& path,
                         std::span<const std::uint8_t> data);
// The same, with the content written by `write` into the temporary file (which it must not
// sync or close); whatever `write` raises fails the save as above.
void WriteFileAtomically(FileSystem& fs, const std::string& path,
                         const std::function<void(WritableFile&)>& write);

// Appends the whole content of `from` to `to`, a piece at a time.
void CopyContent(ReadableFile& from, WritableFile& to);

}  // namespace tarvex::word
