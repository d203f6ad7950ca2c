// The real file system and the atomic replace, with native errors translated in one place.
#include "platform/word/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include "platform/error/error.h"
#include "platform/system/file_kind.h"
#include "platform/word/word.h"

namespace tarvex::word {

namespace {

[[noreturn]] void fail(int err, const std::string& what, const std::string& path) {
    int number = err == ENOENT                                   ? errc::fileNotFound
                 : err == ENOSPC || err == EDQUOT                ? errc::diskFull
                 : err == EACCES || err == EPERM || err == EROFS ? errc::permissionDenied
                                                                 : tarvex::errc::fileError;
    std::string text = err == ENOENT   ? "Datei nicht gefunden"
                       : err == ENOSPC ? "Datenträger voll"
                       : err == EACCES || err == EPERM || err == EROFS
                           ? "Zugriff verweigert"
                           : "Fehler beim Zugriff auf Pfad/Datei";
    throw Error(number, text + ": " + path + " (" + what + ": " + std::strerror(err) + ")");
}

class PosixFile : public WritableFile {
  public:
    PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    void Append(std::span<const std::uint8_t> data) override {
        std::size_t done = 0;
        while (done < data.size()) {
            ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                fail(errno, "Schreiben", path_);
            }
            done += static_cast<std::size_t>(n);
        }
    }
    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
        std::size_t done = 0;
        while (done < data.size()) {
            ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                 static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR) continue;
                fail(errno, "Schreiben", path_);
            }
            done += static_cast<std::size_t>(n);
        }
    }
    void KeepAttributes(const FileStatus& original) override {
        // Owner and group first: changing them clears set-id bits that the mode then restores.
        // Only the superuser may give a file away; the group alone is allowed when the user
        // belongs to it, otherwise the file stays the user's own.
        if (::fchown(fd_, original.uid, original.gid) != 0)
            (void)!::fchown(fd_, static_cast<uid_t>(-1), original.gid);
        if (::fchmod(fd_, original.mode & 07777) != 0) fail(errno, "Rechte setzen", path_);
    }
    void Sync() override {
        if (::fsync(fd_) != 0) fail(errno, "Sichern", path_);
    }
    void Close() override {
        int fd = fd_;
        fd_ = -1;
        if (fd >= 0 && ::close(fd) != 0) fail(errno, "Schließen", path_);
    }

  private:
    int fd_;
    std::string path_;
};

class PosixReadableFile : public ReadableFile {
  public:
    PosixReadableFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {
        if (::fstat(fd_, &opened_) != 0) {
            const int err = errno;
            ::close(fd_);
            fd_ = -1;
            fail(err, "Öffnen", path_);
        }
    }
    ~PosixReadableFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    const struct stat& opened() const { return opened_; }
    std::uint64_t Size() const override { return static_cast<std::uint64_t>(opened_.st_size); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
        std::size_t done = 0;
        while (done < into.size()) {
            ssize_t n = ::pread(fd_, into.data() + done, into.size() - done,
                                static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail(errno, "Lesen", path_);
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }
    void CheckUnchanged() override {
        struct stat now {};
        if (::fstat(fd_, &now) != 0) fail(errno, "Prüfen", path_);
        if (now.st_size != opened_.st_size || now.st_mtim.tv_sec != opened_.st_mtim.tv_sec ||
            now.st_mtim.tv_nsec != opened_.st_mtim.tv_nsec)
            throw Error(tarvex::errc::fileError,
                        "Die Datei " + path_ + " wurde seit dem Öffnen von außen verändert.");
    }

  private:
    int fd_;
    std::string path_;
    struct stat opened_ {};
};

class PosixFileSystem : public FileSystem {
  public:
    std::vector<std::uint8_t> ReadFile(const std::string& path, std::size_t maxBytes) override {
        std::unique_ptr<ReadableFile> file = OpenForReading(path, maxBytes);
        std::vector<std::uint8_t> data(static_cast<std::size_t>(file->Size()));
        if (file->ReadAt(0, data) != data.size()) fail(EIO, "Lesen", path);
        return data;
    }
    std::unique_ptr<ReadableFile> OpenForReading(const std::string& path,
                                                 std::uint64_t maxBytes) override {
        // Looked at before opening (opening a FIFO waits for a writer, a device may react to
        // it), and again after opening without blocking, in case the name changed meanwhile.
        if (std::string refusal = notARegularFile(path); !refusal.empty())
            throw Error(tarvex::errc::fileError, refusal);
        int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) fail(errno, "Öffnen", path);
        auto file = std::make_unique<PosixReadableFile>(fd, path);
        const struct stat& st = file->opened();
        if (!S_ISREG(st.st_mode))
            throw Error(tarvex::errc::fileError, path + " ist keine gewöhnliche Datei, sondern " +
                                                     nonRegularKind(st.st_mode));
        if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
            throw Error(tarvex::errc::fileError, "Die Datei ist zu groß: " + path);
        return file;
    }
    std::unique_ptr<WritableFile> CreateNew(const std::string& path) override {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) fail(errno, "Anlegen", path);
        return std::make_unique<PosixFile>(fd, path);
    }
    std::optional<FileStatus> Status(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            if (errno == ENOENT) return std::nullopt;
            fail(errno, "Prüfen", path);
        }
        FileStatus status{st.st_mode, st.st_uid, st.st_gid, false};
        status.writable = ::geteuid() == 0
                              ? (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0
                              : ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
        return status;
    }
    std::string ResolveLinks(const std::string& path) override {
        std::string current = path;
        for (int hops = 0; hops < 40; ++hops) {
            char target[PATH_MAX];
            const ssize_t n = ::readlink(current.c_str(), target, sizeof target);
            if (n < 0) {
                if (errno == EINVAL || errno == ENOENT) return current;  // no link (any more)
                fail(errno, "Verknüpfung lesen", current);
            }
            if (static_cast<std::size_t>(n) >= sizeof target) fail(ENAMETOOLONG, "Verknüpfung lesen", current);
            std::string next(target, static_cast<std::size_t>(n));
            if (next.front() != '/') {
                const auto slash = current.rfind('/');
                if (slash != std::string::npos) next = current.substr(0, slash + 1) + next;
            }
            current = next;
        }
        fail(ELOOP, "Verknüpfung lesen", path);
    }
    void Rename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) fail(errno, "Umbenennen", to);
    }
    void Remove(const std::string& path) noexcept override { ::unlink(path.c_str()); }
    void SyncFolder(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;  // some file systems cannot open folders; the rename still stands
        ::fsync(fd);
        ::close(fd);
    }
};

// The process's file creation mask, read without changing it (umask() would, for a moment, for
// every thread).
unsigned currentUmask() {
    int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 022;
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (n <= 0) return 022;
    buffer[n] = '\0';
    const char* line = std::strstr(buffer, "Umask:");
    return line ? static_cast<unsigned>(std::strtoul(line + 6, nullptr, 8)) : 022;
}

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

void WriteFileAtomically(FileSystem& fs, const std::string& path,
                         std::span<const std::uint8_t> data) {
    WriteFileAtomically(fs, path, [data](WritableFile& file) { file.Append(data); });
}

void CopyContent(ReadableFile& from, WritableFile& to) {
    constexpr std::size_t kPiece = 1u << 20;
    const auto piece = std::make_unique_for_overwrite<std::uint8_t[]>(kPiece);
    for (std::uint64_t at = 0; at < from.Size();) {
        const std::size_t n = from.ReadAt(at, {piece.get(), kPiece});
        if (n == 0) throw Error(tarvex::errc::fileError, "Die Datei ist kürzer geworden.");
        to.Append({piece.get(), n});
        at += n;
    }
}

void WriteFileAtomically(FileSystem& fs, const std::string& path,
                         const std::function<void(WritableFile&)>& write) {
    // Renaming over a link would replace the link: the file it points to is replaced instead.
    const std::string target = fs.ResolveLinks(path);
    const std::optional<FileStatus> original = fs.Status(target);
    if (original) {
        if (std::string kind = nonRegularKind(original->mode); !kind.empty())
            throw Error(tarvex::errc::fileError,
                        path + " ist keine gewöhnliche Datei, sondern " + kind);
        if (!original->writable)
            throw Error(errc::permissionDenied, "Die Datei ist schreibgeschützt: " + path);
    }
    std::string folder = folderOf(target);
    std::string name =
        target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
    std::random_device random;
    std::string temp = folder + "/." + name + ".tarvex-" + std::to_string(random()) + ".tmp";
    std::unique_ptr<WritableFile> file = fs.CreateNew(temp);
    try {
        // A new invoice gets the usual mode; the temporary file is private until then.
        file->KeepAttributes(original ? *original
                                      : FileStatus{S_IFREG | (0666 & ~currentUmask()), ::geteuid(),
                                                   ::getegid(), true});
        write(*file);
        file->Sync();
        file->Close();
        fs.Rename(temp, target);
    } catch (...) {
        file.reset();
        fs.Remove(temp);
        throw;
    }
    fs.SyncFolder(folder);
}

}  // namespace tarvex::word
