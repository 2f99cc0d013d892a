#include "platform/core/SystemLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <system_error>

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

fs::path SystemLog::defaultFile() {
    fs::path base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') {
        base = state;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".local" / "state";
    } else {
        base = fs::temp_directory_path();
    }
    return base / "pallqa-tuner" / "pallqa-tuner.log";
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
    fileBytes_ = 0;
    if (!destinations_.file) return;
    const fs::path& file = *destinations_.file;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    fd_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        fallBackToStderr(std::strerror(errno));
        return;
    }
    struct stat facts {};
    if (::fstat(fd_, &facts) == 0) fileBytes_ = static_cast<uint64_t>(facts.st_size);
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
    if (fileBytes_ > 0 && fileBytes_ + line.size() > destinations_.maxFileBytes) {
        ::close(fd_);
        fd_ = -1;
        std::error_code error;
        fs::rename(*destinations_.file, rotatedName(*destinations_.file), error);
        openFile();
        if (fd_ < 0) return;
    }
    // One write per line, so lines of processes sharing the file never interleave.
    const ssize_t written = ::write(fd_, line.data(), line.size());
    if (written != static_cast<ssize_t>(line.size())) {
        fallBackToStderr(written < 0 ? std::strerror(errno) : "the disk is full");
        return;
    }
    fileBytes_ += line.size();
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
