#include "platform/core/SystemLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <system_error>

#include "platform/core/FileLock.h"
#include "platform/core/RegularFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string programName() {
    std::string name = "pallqa-tuner";
    if (FILE* f = std::fopen("/proc/self/comm", "r")) {
        char buffer[64] = {};
        if (std::fgets(buffer, sizeof buffer, f)) {
            name = buffer;
            while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
        }
        std::fclose(f);
    }
    return name;
}

std::string timestamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis));
    return buffer;
}

// "2026-12-10 00:12:34.567 pallqa-tuner[4242] message\n"
std::string prefixed(const std::string& message) {
    // Never destroyed: the last repeats are flushed at exit, after statics go.
    static const std::string& name = *new std::string(programName());
    return timestamp() + " " + name + "[" + std::to_string(getpid()) + "] " + message + "\n";
}

std::string rotatedName(const fs::path& file) { return file.string() + ".1"; }

}  // namespace

SystemLog::SystemLog(Destinations destinations, Clock clock)
    : destinations_(std::move(destinations)), clock_(std::move(clock)) {
    std::lock_guard lock(mutex_);
    openFile();
}

SystemLog::~SystemLog() {
    std::lock_guard lock(mutex_);
    flushRepeatsLocked();
    if (fd_ >= 0) ::close(fd_);
}

SystemLog& SystemLog::shared() {
    // Never destroyed, so lines logged while the process winds down still have
    // somewhere to go; the count of folded repeats is written out at exit.
    static SystemLog& log = *[] {
        auto* created = new SystemLog;
        std::atexit([] { shared().flush(); });
        return created;
    }();
    return log;
}

void SystemLog::redirect(Destinations destinations) {
    std::lock_guard lock(mutex_);
    flushRepeatsLocked();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    // The new destinations have not seen the last line, so it is not a repeat there.
    lastMessage_.reset();
    destinations_ = std::move(destinations);
    openFile();
}

void SystemLog::write(const std::string& message) {
    std::lock_guard lock(mutex_);
    if (lastMessage_ && *lastMessage_ == message) {
        if (repeats_ == 0) foldStarted_ = clock_();
        ++repeats_;
        if (clock_() - foldStarted_ >= kLongestFold) flushRepeatsLocked();
        return;
    }
    flushRepeatsLocked();
    lastMessage_ = message;
    emit(message);
}

void SystemLog::flush() {
    std::lock_guard lock(mutex_);
    flushRepeatsLocked();
}

void SystemLog::tellUser(const std::string& message, const std::string& logged) {
    std::lock_guard lock(mutex_);
    if (destinations_.echo == stderr && message == logged) return;
    std::fprintf(stderr, "%s: %s\n", programName().c_str(), message.c_str());
}

void SystemLog::flushRepeatsLocked() {
    if (repeats_ == 0) return;
    const uint64_t repeats = repeats_;
    repeats_ = 0;
    emit("last line repeated " + std::to_string(repeats) + " times");
}

void SystemLog::openFile() {
    if (!destinations_.file) return;
    const fs::path& file = *destinations_.file;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error) {
        fallBackToStderr("cannot make " + file.parent_path().string() + ": " + error.message());
        return;
    }
    // A FIFO or a device at the log's name is never waited on, nor a link followed.
    RegularFile opened = RegularFile::open(file, O_WRONLY | O_CREAT | O_APPEND);
    if (!opened.isOpen()) {
        fallBackToStderr(opened.error());
        return;
    }
    fd_ = opened.release();
}

void SystemLog::emit(const std::string& message) {
    const std::string line = prefixed(message);
    if (fd_ >= 0) writeToFile(line);
    if (destinations_.echo) {
        std::fwrite(line.data(), 1, line.size(), destinations_.echo);
        std::fflush(destinations_.echo);
    }
}

void SystemLog::writeToFile(const std::string& line) {
    uint64_t size = 0;
    if (!openFileIsCurrent(size) || (size > 0 && size + line.size() > destinations_.maxFileBytes)) {
        makeRoom(line.size());
        if (fd_ < 0) return;
    }
    // One write per line, so lines of processes sharing the file never interleave.
    const ssize_t written = ::write(fd_, line.data(), line.size());
    if (written != static_cast<ssize_t>(line.size())) {
        fallBackToStderr(written < 0 ? std::strerror(errno) : "the disk is full");
    }
}

bool SystemLog::openFileIsCurrent(uint64_t& size) const {
    struct stat open {}, named {};
    if (::fstat(fd_, &open) != 0 || ::stat(destinations_.file->c_str(), &named) != 0) return false;
    size = static_cast<uint64_t>(open.st_size);
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

void SystemLog::makeRoom(uint64_t incoming) {
    const fs::path& file = *destinations_.file;
    const FileLock lock(file, FileLock::Wait::Yes);
    if (!lock.held()) {
        fallBackToStderr("cannot rotate it: " + lock.error());
        return;
    }
    // Under the lock the file is rotated only if it is still the full one:
    // an instance that found it full at the same time moves on to the new file.
    uint64_t size = 0;
    if (openFileIsCurrent(size) && size > 0 && size + incoming > destinations_.maxFileBytes) {
        const std::string rotated = rotatedName(file);
        if (!isRegularFileOrAbsent(rotated)) {
            fallBackToStderr("cannot rotate it: " + rotated + " is not a regular file");
            return;
        }
        if (::rename(file.c_str(), rotated.c_str()) != 0) {
            fallBackToStderr(std::string("cannot rotate it: ") + std::strerror(errno));
            return;
        }
    }
    ::close(fd_);
    fd_ = -1;
    openFile();
}

void SystemLog::fallBackToStderr(const std::string& why) {
    std::fprintf(stderr, "%s: the log cannot be written to %s (%s); its lines go to stderr\n",
                 programName().c_str(), destinations_.file->c_str(), why.c_str());
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    destinations_.file.reset();
    destinations_.echo = stderr;
}

}  // namespace platform
