#pragma once
// Files of the program's own that must be regular files (settings, their lock
// and temporary file, the log), opened so that nothing put in their place can
// stall or misdirect the program: the open never blocks (a FIFO or a device
// at the name is not waited on), follows no symbolic link unless asked, and
// what it opened is checked with fstat to be a regular file. Anything else at
// the name is reported as not regular, for the caller to treat as absent or
// damaged.

#include <filesystem>
#include <string>

namespace platform {

class RegularFile {
public:
    enum class Outcome { Opened, Missing, NotRegular, Failed };
    enum class Links { Follow, DoNotFollow };

    // Opens `path` with `flags` (O_RDONLY, O_WRONLY | O_APPEND | O_CREAT, ...);
    // a file it creates gets mode 0600.
    static RegularFile open(const std::filesystem::path& path, int flags, Links links = Links::DoNotFollow);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Hands the descriptor over to the caller, who closes it.
    int release();
    void close();
    Outcome outcome() const { return outcome_; }
    // Why it is not open, in a few words ("not a regular file", "Permission denied").
    const std::string& error() const { return error_; }

private:
    RegularFile(int fd, Outcome outcome, std::string error);
    int fd_;
    Outcome outcome_;
    std::string error_;
};

// Whether nothing but a regular file is at `path` (a link counts as something
// else): the only things a file of ours may ever be renamed over.
bool isRegularFileOrAbsent(const std::filesystem::path& path);

// Where the chain of symbolic links at `path` leads, even to a file that does
// not exist yet (a dotfiles link made before its target): the file that saves
// replace.
std::filesystem::path followLinks(std::filesystem::path path);

}  // namespace platform
