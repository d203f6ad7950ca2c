#include "support/debug_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/text/utf8.h"

namespace tarvex {

namespace {

struct LogSettings {
    std::shared_ptr<LogSink> sink;
    std::shared_ptr<Clock> clock;
};

LogSettings& settings() {
    static LogSettings s;
    return s;
}

// Windows-1252 bytes 0x80..0x9F and the code points they stand for (0 = unassigned).
constexpr char32_t kHighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char encode1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHighBlock[i] == cp && cp != 0) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string toWindows1252(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        // A malformed byte becomes U+FFFD, which Windows-1252 lacks: "?" for each such byte.
        const text::Utf8Char c = text::decodeUtf8(utf8.data() + i, utf8.size() - i);
        out += encode1252(c.ch);
        i += c.size;
    }
    return out;
}

FileLogSink::~FileLogSink() {
    if (fd_ >= 0) ::close(fd_);
}

int FileLogSink::file() noexcept {
    struct stat named {};
    if (fd_ >= 0 && ::lstat(path_.c_str(), &named) == 0 && named.st_dev == device_ &&
        named.st_ino == inode_)
        return fd_;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    // O_NOFOLLOW: a symbolic link planted under the fixed name in a shared directory must not
    // redirect our appends into somebody else's file. O_NONBLOCK: a FIFO planted there must not
    // stop the run (opening it for writing would wait for a reader).
    const int fd = ::open(path_.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY |
                              O_CLOEXEC,
                          0600);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    fd_ = fd;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return fd_;
}

void FileLogSink::append(const std::string& bytes) noexcept {
    const std::lock_guard<std::mutex> lock(mutex_);
    const int fd = file();
    if (fd < 0) return;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n <= 0) break;  // disk full or the like: the rest of the entry is lost
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void MemoryLogSink::append(const std::string& bytes) noexcept {
    try {
        entries_.push_back(bytes);
    } catch (...) {
    }
}

std::string MemoryLogSink::all() const {
    std::string out;
    for (const auto& e : entries_) out += e;
    return out;
}

std::string defaultLogPath() {
    const char* dir = std::getenv("TMPDIR");
    std::string base = (dir && *dir) ? dir : "/tmp";
    if (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/Lumo.log";
}

void setLogSink(std::shared_ptr<LogSink> sink) { settings().sink = std::move(sink); }
void setLogClock(std::shared_ptr<Clock> clock) { settings().clock = std::move(clock); }

std::string formatLogEntry(const Fehlerstand& failure, const std::string& modul,
                           const std::string& prozedur, const std::tm& when) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d.%d.%02d %02d:%02d   ", when.tm_mday, when.tm_mon + 1,
                  (when.tm_year + 1900) % 100, when.tm_hour, when.tm_min);
    std::string text = stamp;
    text += "Error " + std::to_string(failure.nummer) + ": \r\n";
    text += failure.beschreibung + "\r\n";
    text += "Zeile: " + std::to_string(failure.zeile) + "\r\n";
    text += "Ort  : -LumDienste- " + modul + "." + prozedur + "\r\n";
    text += "User : ohne, ohne";
    text += "\r\n";  // the line break after the entry text
    text += "\r\n";  // the separate empty line
    return toWindows1252(text);
}

Fehlerstand& aktuellerFehler() {
    static Fehlerstand current;
    return current;
}

void DebugLog(std::string modul, std::string prozedur) noexcept {
    try {
        const Fehlerstand failure = aktuellerFehler();  // taken before anything can change it
        auto& s = settings();
        const std::tm now = s.clock ? s.clock->localNow() : systemClock()->localNow();
        const std::string entry = formatLogEntry(failure, modul, prozedur, now);
        if (s.sink) {
            s.sink->append(entry);
        } else {
            // Kept for the next entry while TMPDIR names the same place; never destroyed, so
            // that a failure logged while the process ends still finds it.
            static std::mutex guard;
            static FileLogSink* standard = nullptr;
            const std::string path = defaultLogPath();
            const std::lock_guard<std::mutex> lock(guard);
            if (!standard || standard->path() != path) {
                delete standard;
                standard = new FileLogSink(path);
            }
            standard->append(entry);
        }
    } catch (...) {
        // The log never fails towards its caller; the entry is lost.
    }
}

ScopedLogCapture::ScopedLogCapture() : sink_(std::make_shared<MemoryLogSink>()) {
    setLogSink(sink_);
}

ScopedLogCapture::~ScopedLogCapture() { setLogSink(nullptr); }

bool ScopedLogCapture::contains(const std::string& utf8Text) const {
    return sink_->all().find(toWindows1252(utf8Text)) != std::string::npos;
}

}  // namespace tarvex
