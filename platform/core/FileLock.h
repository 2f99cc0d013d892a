#pragma once
// An advisory lock (flock) on a lock file of its own beside a file that
// several processes change, held while the object lives. The lock file is one
// of the program's regular files: anything else at its name is not used.

#include <filesystem>
#include <string>

#include "platform/core/RegularFile.h"

namespace platform {

class FileLock {
public:
    enum class Wait { Yes, No };

    // Locks "<file>.lock", waiting for other holders unless told not to.
    FileLock(const std::filesystem::path& file, Wait wait);

    bool held() const { return lockFile_.isOpen(); }
    // Why it is not held, in a few words.
    const std::string& error() const { return error_; }

private:
    RegularFile lockFile_;
    std::string error_;
};

}  // namespace platform
