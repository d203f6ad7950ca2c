#pragma once
// The log of failures: every error trap appends one entry per failure to "Lumo.log" in the
// temporary directory. Writing the log never fails towards the caller.

#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/system/clock.h"

namespace tarvex {

// The failure being handled right now: number, description and the step ("Zeile") reached.
struct Fehlerstand {
    int nummer = 0;
    std::string beschreibung;
    int zeile = 0;
};

// Where finished entries go. `append` receives the bytes of one entry (Windows-1252, CRLF)
// and must swallow every failure of its own.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void append(const std::string& bytes) noexcept = 0;
};

// Appends to a file. It is opened without following a symbolic link, created with mode 0600,
// and an entry is dropped when the name is not a regular file owned by the current user. The
// file stays open between entries (a run that logs hundreds of failures would otherwise open
// it hundreds of times); before each entry the name is looked up again, and when it no longer
// names the open file (removed, renamed, replaced by a link) it is opened afresh.
class FileLogSink final : public LogSink {
public:
    explicit FileLogSink(std::string path) : path_(std::move(path)) {}
    ~FileLogSink() override;
    FileLogSink(const FileLogSink&) = delete;
    FileLogSink& operator=(const FileLogSink&) = delete;
    void append(const std::string& bytes) noexcept override;
    const std::string& path() const { return path_; }

private:
    // The open file when the name still names it, else the file opened afresh; -1 when the
    // entry must be dropped.
    int file() noexcept;

    std::string path_;
    std::mutex mutex_;
    int fd_ = -1;
    unsigned long long device_ = 0, inode_ = 0;
};

// Keeps entries in memory so that tests can read them back.
class MemoryLogSink final : public LogSink {
public:
    void append(const std::string& bytes) noexcept override;
    const std::vector<std::string>& entries() const { return entries_; }
    std::string all() const;
    void clear() { entries_.clear(); }

private:
    std::vector<std::string> entries_;
};

// "$TMPDIR/Lumo.log", or "/tmp/Lumo.log" when TMPDIR is unset or empty.
std::string defaultLogPath();

// The sink and clock the log uses; by default the file sink on defaultLogPath() and the
// system clock. Passing nullptr restores the default.
void setLogSink(std::shared_ptr<LogSink> sink);
void setLogClock(std::shared_ptr<Clock> clock);

// One entry's bytes: "d.m.yy hh:mm   Error N: " CRLF description CRLF "Zeile: N" CRLF
// "Ort  : -LumDienste- module.procedure" CRLF "User : ohne, ohne" CRLF, then an empty line CRLF.
// Text is converted from UTF-8 to Windows-1252 (characters it lacks become "?").
std::string formatLogEntry(const Fehlerstand& failure, const std::string& modul,
                           const std::string& prozedur, const std::tm& when);

// UTF-8 to Windows-1252; characters without a Windows-1252 form become "?".
std::string toWindows1252(const std::string& utf8);

// The failure the current trap is handling.
Fehlerstand& aktuellerFehler();

// Writes one entry for aktuellerFehler() under the module and procedure names. Never throws.
void DebugLog(std::string modul, std::string prozedur) noexcept;

// Captures the log in memory for the lifetime of the object (tests).
class ScopedLogCapture {
public:
    ScopedLogCapture();
    ~ScopedLogCapture();
    ScopedLogCapture(const ScopedLogCapture&) = delete;
    ScopedLogCapture& operator=(const ScopedLogCapture&) = delete;
    const MemoryLogSink& sink() const { return *sink_; }
    std::size_t count() const { return sink_->entries().size(); }
    // Whether some entry mentions the text (after conversion to Windows-1252).
    bool contains(const std::string& utf8Text) const;

private:
    std::shared_ptr<MemoryLogSink> sink_;
};

}  // namespace tarvex
