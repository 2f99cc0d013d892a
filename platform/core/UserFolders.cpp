#include "platform/core/UserFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFolder = "pallqa-tuner";

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%03o", static_cast<unsigned>(mode & 0777));
    return text;
}

// Why a folder with `status` is not the user's own; empty when it is.
std::string whyNotOwn(const struct stat& status) {
    if (status.st_uid != ::geteuid()) return "it belongs to another user (uid " + std::to_string(status.st_uid) + ")";
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return "others than its owner may write in it (mode " + octal(status.st_mode) + ")";
    }
    return {};
}

UserFolder refused(const fs::path& folder, const std::string& why) {
    return {std::nullopt, folder.string() + " is not used: " + why};
}

// The program's folder under the base folder named by `variable`, or under
// `inHome` in the home folder when the variable is unset or not absolute
// (the desktop's rules ignore a relative one).
UserFolder programFolderUnder(const char* variable, const fs::path& inHome) {
    fs::path base;
    if (const char* value = std::getenv(variable); value && *value == '/') {
        base = value;
    } else if (const auto home = homeFolder()) {
        base = *home / inHome;
    } else {
        return {std::nullopt, "no home folder (HOME is not set and the password database names none)"};
    }
    return ownFolder(base / kProgramFolder);
}

}  // namespace

std::optional<fs::path> homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home);
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    int result;
    while ((result = ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE) {
        buffer.resize(buffer.size() * 2);
    }
    if (result != 0 || found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') return std::nullopt;
    return fs::path(found->pw_dir);
}

UserFolder configFolder() { return programFolderUnder("XDG_CONFIG_HOME", ".config"); }

UserFolder stateFolder() { return programFolderUnder("XDG_STATE_HOME", fs::path(".local") / "state"); }

UserFolder ownFolder(const fs::path& folder) {
    const fs::path parent = folder.parent_path();
    std::error_code error;
    fs::create_directories(parent, error);
    if (error) return refused(folder, "cannot make " + parent.string() + " (" + error.message() + ")");
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return refused(folder, std::string("cannot make it (") + std::strerror(errno) + ")");
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) return refused(folder, std::strerror(errno));
    if (S_ISLNK(status.st_mode)) {
        // A link is followed only where no one else could have put it.
        struct stat parentStatus {};
        if (::stat(parent.c_str(), &parentStatus) != 0) return refused(folder, std::strerror(errno));
        if (const std::string why = whyNotOwn(parentStatus); !why.empty()) {
            return refused(folder, "it is a link in " + parent.string() + ", and " + why);
        }
        if (::stat(folder.c_str(), &status) != 0) {
            return refused(folder, std::string("it is a link that leads nowhere (") + std::strerror(errno) + ")");
        }
    }
    if (!S_ISDIR(status.st_mode)) return refused(folder, "it is not a folder");
    if (const std::string why = whyNotOwn(status); !why.empty()) return refused(folder, why);
    return {folder, {}};
}

}  // namespace platform
