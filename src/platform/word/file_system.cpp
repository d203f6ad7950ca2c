// The real file system and the atomic replace, with native errors translated in one place.
#include "platform/word/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/error/error.h"
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

class PosixFileSystem : public FileSystem {
  public:
    std::vector<std::uint8_t> ReadFile(const std::string& path, std::size_t maxBytes) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) fail(errno, "Öffnen", path);
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            int err = errno ? errno : EISDIR;
            ::close(fd);
            fail(S_ISDIR(st.st_mode) ? EISDIR : err, "Öffnen", path);
        }
        if (static_cast<std::size_t>(st.st_size) > maxBytes) {
            ::close(fd);
            throw Error(tarvex::errc::fileError, "Die Datei ist zu groß: " + path);
        }
        std::vector<std::uint8_t> data(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (done < data.size()) {
            ssize_t n = ::read(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                int err = n < 0 ? errno : EIO;
                ::close(fd);
                fail(err, "Lesen", path);
            }
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        return data;
    }
    std::unique_ptr<WritableFile> CreateNew(const std::string& path) override {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) fail(errno, "Anlegen", path);
        return std::make_unique<PosixFile>(fd, path);
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
    std::string folder = folderOf(path);
    std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    std::random_device random;
    std::string temp = folder + "/." + name + ".tarvex-" + std::to_string(random()) + ".tmp";
    std::unique_ptr<WritableFile> file = fs.CreateNew(temp);
    try {
        file->Append(data);
        file->Sync();
        file->Close();
        fs.Rename(temp, path);
    } catch (...) {
        file.reset();
        fs.Remove(temp);
        throw;
    }
    fs.SyncFolder(folder);
}

}  // namespace tarvex::word
