#include "platform/core/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>

namespace platform {

FileLock::FileLock(const std::filesystem::path& file, Wait wait)
    : lockFile_(RegularFile::open(std::filesystem::path(file) += ".lock", O_RDWR | O_CREAT)) {
    if (!lockFile_.isOpen()) {
        error_ = "its lock file: " + lockFile_.error();
        return;
    }
    int result;
    do {
        result = ::flock(lockFile_.fd(), wait == Wait::Yes ? LOCK_EX : LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        error_ = std::strerror(errno);
        lockFile_.close();
    }
}

}  // namespace platform
