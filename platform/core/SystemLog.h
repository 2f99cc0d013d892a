#pragma once
// Where the log's lines end up when no test has captured them: the desktop's
// stand-in for the phone's system log. Each line gets a timestamp, the
// program's name and its process id, and goes to a file of bounded size (when
// it grows past its bound it becomes <file>.1, replacing the one before, and a
// new file starts) and, when asked, to stderr. The file may be shared by
// several running instances: it is rotated once, under a lock ("<file>.lock"),
// however many of them find it full at once, and each goes on in the new file. As system loggers do, a line
// repeated back to back is written once and its repeats are counted in one
// "last line repeated N times", so a message sent every tick does not flood
// the file.
//
// Until the program opens a file, lines go to stderr only, as they always did
// for tests and tools. Any thread may write; writes are serialised.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace platform {

struct SystemLogDestinations {
    // A file grows to this size before it is rotated; with the one rotated
    // file kept, the log never takes more than twice this.
    static constexpr uint64_t kMaxFileBytes = 1024 * 1024;

    // The log file; none writes to the echo only.
    std::optional<std::filesystem::path> file;
    // Also writes each line here (stderr for --verbose); null for none.
    std::FILE* echo = stderr;
    uint64_t maxFileBytes = kMaxFileBytes;
};

class SystemLog {
public:
    using Destinations = SystemLogDestinations;
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // A run of repeats is counted in the log at the latest this long after it
    // began, even while it goes on, so the count is never held back for long.
    static constexpr std::chrono::seconds kLongestFold{30};

    explicit SystemLog(Destinations destinations = {}, Clock clock = std::chrono::steady_clock::now);
    ~SystemLog();
    SystemLog(const SystemLog&) = delete;
    SystemLog& operator=(const SystemLog&) = delete;

    // The name of the log file in the program's state folder.
    static constexpr const char* kFileName = "pallqa-tuner.log";

    // The process's log.
    static SystemLog& shared();

    // Writes out the count of any folded repeats, then sends later lines to
    // `destinations`. A file that cannot be opened is said once on stderr, and
    // the lines go to stderr instead: none is lost.
    void redirect(Destinations destinations);
    // Writes one message (without prefix or line end).
    void write(const std::string& message);
    // Writes out the count of any folded repeats.
    void flush();
    // Shows `message` on stderr as "<program>: <message>", unless every line
    // goes there already and the log's line `logged` says the same.
    void tellUser(const std::string& message, const std::string& logged);

private:
    void openFile();
    void emit(const std::string& message);
    void writeToFile(const std::string& line);
    // Whether the file open is the one at the log's name, holding `size` bytes.
    bool openFileIsCurrent(uint64_t& size) const;
    // Makes room for `incoming` bytes: rotates a full file, or moves on to the
    // file another instance has rotated to.
    void makeRoom(uint64_t incoming);
    void flushRepeatsLocked();
    void fallBackToStderr(const std::string& why);

    std::mutex mutex_;
    Destinations destinations_;
    Clock clock_;
    int fd_ = -1;
    std::optional<std::string> lastMessage_;
    uint64_t repeats_ = 0;
    std::chrono::steady_clock::time_point foldStarted_{};
};

}  // namespace platform
