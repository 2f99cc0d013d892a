#include "platform/core/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace platform {

RegularFile RegularFile::open(const std::filesystem::path& path, int flags, Links links) {
    // Something else at the name is not even opened: opening a device may do
    // things of its own. What is opened is checked again below.
    struct stat status {};
    const int looked = links == Links::Follow ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
    if (looked == 0 && !S_ISREG(status.st_mode)) return {-1, Outcome::NotRegular, "not a regular file"};
    flags |= O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (links == Links::DoNotFollow) flags |= O_NOFOLLOW;
    const int fd = ::open(path.c_str(), flags, 0600);
    if (fd < 0) {
        const int error = errno;
        switch (error) {
        case ENOENT:
        case ENOTDIR:
            return {-1, Outcome::Missing, std::strerror(error)};
        // A link not to be followed, a folder, or a FIFO or a device that
        // would have had to wait for its other end.
        case ELOOP:
        case EISDIR:
        case ENXIO:
        case ENODEV:
            return {-1, Outcome::NotRegular, "not a regular file"};
        default:
            return {-1, Outcome::Failed, std::strerror(error)};
        }
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return {-1, Outcome::NotRegular, "not a regular file"};
    }
    // A regular file never waits; reads and writes go on as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return {fd, Outcome::Opened, {}};
}

RegularFile::RegularFile(int fd, Outcome outcome, std::string error)
    : fd_(fd), outcome_(outcome), error_(std::move(error)) {}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), outcome_(other.outcome_), error_(std::move(other.error_)) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        outcome_ = other.outcome_;
        error_ = std::move(other.error_);
    }
    return *this;
}

RegularFile::~RegularFile() { close(); }

void RegularFile::close() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

int RegularFile::release() { return std::exchange(fd_, -1); }

bool isRegularFileOrAbsent(const std::filesystem::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

std::filesystem::path followLinks(std::filesystem::path path) {
    // As many links as the system itself follows before it gives up.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(path, error)) break;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path.lexically_normal();
}

}  // namespace platform
