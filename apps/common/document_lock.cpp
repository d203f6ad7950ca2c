#include "document_lock.h"

#include "host_error.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "platform/system/file_kind.h"

namespace tarvex::host {

namespace {

bool sameFile(int fd, const std::string& path) {
    struct stat held {}, current {};
    if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &current) != 0) return false;
    return held.st_dev == current.st_dev && held.st_ino == current.st_ino;
}

}  // namespace

DocumentLock::DocumentLock(const std::string& path, std::chrono::milliseconds patience,
                           const std::function<void(bool)>& waitNotice) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    bool waited = false;
    const auto endWait = [&] {
        if (waited && waitNotice) waitNotice(false);
    };
    for (;;) {
        // A FIFO or device is refused before opening it; the open itself never waits either.
        if (std::string refusal = notARegularFile(path); !refusal.empty()) {
            endWait();
            throw HostError("Dokument kann nicht geöffnet werden: " + refusal);
        }
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) {
            const int err = errno;
            endWait();
            throw HostError("Dokument kann nicht geöffnet werden: " + path + " (" +
                            std::strerror(err) + ")");
        }
        struct stat opened {};
        if (::fstat(fd_, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            endWait();
            throw HostError("Dokument kann nicht geöffnet werden: " + path +
                            " ist keine gewöhnliche Datei");
        }
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd_);
                fd_ = -1;
                endWait();
                const std::string after =
                    patience >= std::chrono::seconds(1)
                        ? " (länger als " + std::to_string((patience.count() + 999) / 1000) + " s)"
                        : "";
                throw HostError("Das Dokument wird gerade von einem anderen Lauf bearbeitet" +
                                    after + ": " + path,
                                Outcome::Busy);
            }
            waited = true;
            if (waitNotice) waitNotice(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        // The other run may have saved meanwhile: its new file replaced the one we locked.
        if (sameFile(fd_, path)) {
            endWait();
            return;
        }
        ::close(fd_);
        fd_ = -1;
    }
}

DocumentLock::~DocumentLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace tarvex::host
