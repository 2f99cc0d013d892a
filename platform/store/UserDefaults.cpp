#include "platform/store/UserDefaults.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <utility>

#include "platform/core/Installed.h"
#include "platform/core/Log.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

Installed<std::shared_ptr<UserDefaults>>& standardSlot() {
    static Installed<std::shared_ptr<UserDefaults>> store([] { return UserDefaults::inMemory(); });
    return store;
}

json toJson(const UserDefaults::Dictionary& values) {
    json object = json::object();
    for (const auto& entry : values) {
        // A named reference: clang before 16 cannot capture a structured binding.
        const std::string& key = entry.first;
        std::visit([&](const auto& v) { object[key] = v; }, entry.second);
    }
    return object;
}

std::optional<UserDefaults::Dictionary> fromJson(const json& object) {
    if (!object.is_object()) return std::nullopt;
    UserDefaults::Dictionary values;
    for (const auto& [key, value] : object.items()) {
        if (value.is_boolean()) values[key] = value.get<bool>();
        else if (value.is_number_integer()) values[key] = value.get<int64_t>();
        else if (value.is_number_float()) values[key] = value.get<double>();
        else if (value.is_string()) values[key] = value.get<std::string>();
        // Values of other kinds were not written by this store; they are skipped.
    }
    return values;
}

// Text read as a boolean the way the phone's store reads it: "YES"/"true" or a
// number that is not zero.
bool textIsTrue(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return false;
    const char c = text[start];
    if (c == 'Y' || c == 'y' || c == 'T' || c == 't') return true;
    return std::strtoll(text.c_str() + start, nullptr, 10) != 0;
}

// Moves a damaged store aside under a name no earlier file has taken.
std::optional<fs::path> setAside(const fs::path& file) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path aside = file;
        aside += ".damaged-" + std::to_string(seconds) + (attempt ? "-" + std::to_string(attempt) : "");
        std::error_code ec;
        if (fs::exists(aside, ec)) continue;
        // link() never replaces an existing file, unlike rename().
        if (::link(file.c_str(), aside.c_str()) == 0) {
            ::unlink(file.c_str());
            return aside;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

bool writeAll(int fd, const std::string& data) {
    size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

fs::path withSuffix(const fs::path& file, const char* suffix) {
    fs::path path = file;
    path += suffix;
    return path;
}

// The settings file itself: a symbolic link (a dotfiles set-up) is followed to
// its target, even one that does not exist yet, so saves go where it points.
fs::path resolveLinks(fs::path file) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(file, ec)) break;
        const fs::path target = fs::read_symlink(file, ec);
        if (ec) break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file.lexically_normal();
}

// Where a save writes before renaming: one name per settings file, used only
// under the lock, so a killed save leaves at most this one file behind.
fs::path temporaryFor(const fs::path& file) { return withSuffix(file, ".tmp"); }

// An advisory lock on "<file>.lock", held while a save reads, merges and
// replaces the file.
class FileLock {
public:
    FileLock(const fs::path& file, bool wait) {
        fd_ = ::open(withSuffix(file, ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            error_ = std::strerror(errno);
            return;
        }
        int result;
        do {
            result = ::flock(fd_, wait ? LOCK_EX : LOCK_EX | LOCK_NB);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            error_ = std::strerror(errno);
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    std::string error_;
};

enum class ReadResult { Read, Missing, NotRegular, Unreadable };

// Reads a settings file without ever blocking: a FIFO or a device is not
// opened for reading at all, only looked at.
ReadResult readRegularFile(const fs::path& file, std::string& text, std::string& error) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        // No file, or no folder to hold one (a plain file in the way of the path).
        if (errno == ENOENT || errno == ENOTDIR) return ReadResult::Missing;
        error = std::strerror(errno);
        return errno == EISDIR ? ReadResult::NotRegular : ReadResult::Unreadable;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        error = "not a regular file";
        return ReadResult::NotRegular;
    }
    text.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = std::strerror(errno);
            ::close(fd);
            return ReadResult::Unreadable;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return ReadResult::Read;
}

std::optional<UserDefaults::Dictionary> parse(const std::string& text) {
    const json parsed = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return std::nullopt;
    return fromJson(parsed);
}

bool processIsGone(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

// Removes what killed saves left beside `file`: the temporary file when no
// save holds the lock, and the per-process temporary files of earlier
// versions ("<file>.tmp-<pid>") whose process is gone.
void removeStaleTemporaries(const fs::path& file) {
    const std::string prefix = file.filename().string() + ".tmp";
    std::error_code ec;
    fs::directory_iterator entries(file.parent_path(), ec);
    if (ec) return;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0 || !entry.is_regular_file(ec)) continue;
        const std::string rest = name.substr(prefix.size());
        if (rest.empty()) {
            const FileLock lock(file, /*wait=*/false);
            if (lock.held()) ::unlink(entry.path().c_str());
        } else if (rest.size() > 1 && rest[0] == '-' &&
                   rest.find_first_not_of("0123456789", 1) == std::string::npos && rest.size() < 12) {
            if (processIsGone(static_cast<pid_t>(std::stol(rest.substr(1))))) ::unlink(entry.path().c_str());
        }
    }
}

// Writes `data` to the temporary file beside `file`, flushes it, renames it
// over `file` and flushes the folder. Returns the error text, empty on success.
// The caller holds the lock.
std::string replaceFileAtomically(const fs::path& file, const std::string& data) {
    const fs::path temporary = temporaryFor(file);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return std::strerror(errno);
    const bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    ::close(fd);
    if (!ok) {
        ::unlink(temporary.c_str());
        return std::strerror(writeErrno);
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(temporary.c_str());
        return std::strerror(renameErrno);
    }
    const int dir = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

void applyChanges(UserDefaults::Dictionary& values, const std::map<std::string, std::optional<UserDefaults::Value>>& changes) {
    for (const auto& [key, value] : changes) {
        if (value) {
            values[key] = *value;
        } else {
            values.erase(key);
        }
    }
}

}  // namespace

std::shared_ptr<UserDefaults> UserDefaults::standardUserDefaults() { return standardSlot().get(); }

void UserDefaults::setStandardUserDefaults(std::shared_ptr<UserDefaults> store) {
    standardSlot().installOrDefault(std::move(store));
}

std::shared_ptr<UserDefaults> UserDefaults::inMemory(std::string domainName) {
    return std::shared_ptr<UserDefaults>(new UserDefaults(std::nullopt, std::move(domainName)));
}

std::shared_ptr<UserDefaults> UserDefaults::atFile(std::filesystem::path file, std::string domainName) {
    std::shared_ptr<UserDefaults> store(new UserDefaults(std::move(file), std::move(domainName)));
    store->load();
    return store;
}

std::filesystem::path UserDefaults::defaultFileFor(const std::string& bundleIdentifier) {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".config";
    } else {
        base = fs::temp_directory_path();
    }
    return base / "pallqa-tuner" / (bundleIdentifier + ".json");
}

UserDefaults::UserDefaults(std::optional<std::filesystem::path> file, std::string domainName)
    : file_(std::move(file)), domainName_(std::move(domainName)) {}

UserDefaults::~UserDefaults() {
    // Nothing written is lost at an orderly exit, even without a last synchronize().
    bool dirty;
    {
        std::lock_guard lock(mutex_);
        dirty = replaceAll_ || !changes_.empty();
    }
    if (dirty) synchronize();
}

void UserDefaults::load() {
    const fs::path target = resolveLinks(*file_);
    removeStaleTemporaries(target);
    std::string text, error;
    switch (readRegularFile(target, text, error)) {
    case ReadResult::Missing:
        return;
    case ReadResult::NotRegular:
        NSLog("Settings file %@ is not a regular file; starting with default settings", file_->string());
        return;
    case ReadResult::Unreadable:
        NSLog("Settings file %@ cannot be read (%@); starting with default settings", file_->string(), error);
        return;
    case ReadResult::Read:
        break;
    }
    if (auto values = parse(text)) {
        values_ = std::move(*values);
        return;
    }
    if (auto aside = setAside(target)) {
        NSLog("Settings file %@ is damaged; starting with empty settings, the old file is kept as %@",
              file_->string(), aside->string());
    } else {
        NSLog("Settings file %@ is damaged and could not be set aside; starting with empty settings",
              file_->string());
    }
}

std::optional<UserDefaults::Value> UserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

bool UserDefaults::boolForKey(const std::string& key) const {
    auto value = objectForKey(key);
    if (!value) return false;
    if (auto* b = std::get_if<bool>(&*value)) return *b;
    if (auto* i = std::get_if<int64_t>(&*value)) return *i != 0;
    if (auto* d = std::get_if<double>(&*value)) return *d != 0.0;
    return textIsTrue(std::get<std::string>(*value));
}

int64_t UserDefaults::integerForKey(const std::string& key) const {
    auto value = objectForKey(key);
    if (!value) return 0;
    if (auto* b = std::get_if<bool>(&*value)) return *b ? 1 : 0;
    if (auto* i = std::get_if<int64_t>(&*value)) return *i;
    if (auto* d = std::get_if<double>(&*value)) {
        if (!std::isfinite(*d)) return 0;
        return static_cast<int64_t>(std::clamp(*d, -9.2e18, 9.2e18));
    }
    return std::strtoll(std::get<std::string>(*value).c_str(), nullptr, 10);
}

double UserDefaults::doubleForKey(const std::string& key) const {
    auto value = objectForKey(key);
    if (!value) return 0.0;
    if (auto* b = std::get_if<bool>(&*value)) return *b ? 1.0 : 0.0;
    if (auto* i = std::get_if<int64_t>(&*value)) return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(&*value)) return *d;
    return std::strtod(std::get<std::string>(*value).c_str(), nullptr);
}

float UserDefaults::floatForKey(const std::string& key) const { return static_cast<float>(doubleForKey(key)); }

std::string UserDefaults::stringForKey(const std::string& key) const {
    auto value = objectForKey(key);
    if (!value) return {};
    if (auto* s = std::get_if<std::string>(&*value)) return *s;
    if (auto* b = std::get_if<bool>(&*value)) return *b ? "1" : "0";
    if (auto* i = std::get_if<int64_t>(&*value)) return std::to_string(*i);
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", std::get<double>(*value));
    return text;
}

void UserDefaults::set(const std::string& key, Value value) {
    std::lock_guard lock(mutex_);
    values_[key] = value;
    changes_[key] = std::move(value);
}

void UserDefaults::setBool(bool value, const std::string& key) { set(key, value); }
void UserDefaults::setInteger(int64_t value, const std::string& key) { set(key, value); }
void UserDefaults::setFloat(float value, const std::string& key) { set(key, static_cast<double>(value)); }
void UserDefaults::setDouble(double value, const std::string& key) { set(key, value); }
void UserDefaults::setObject(std::string value, const std::string& key) { set(key, std::move(value)); }

void UserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    values_.erase(key);
    changes_[key] = std::nullopt;
}

void UserDefaults::setPersistentDomain(const Dictionary& domain, const std::string& name) {
    if (name != domainName_) return;
    std::lock_guard lock(mutex_);
    values_ = domain;
    changes_.clear();
    replaceAll_ = true;
}

UserDefaults::Dictionary UserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(mutex_);
    return values_;
}

bool UserDefaults::synchronize() {
    std::lock_guard writeLock(writeMutex_);
    Changes changes;
    bool replaceAll;
    Dictionary whole;
    {
        std::lock_guard lock(mutex_);
        if (!file_) {
            changes_.clear();
            replaceAll_ = false;
            return true;
        }
        if (changes_.empty() && !replaceAll_) return true;
        changes.swap(changes_);
        replaceAll = std::exchange(replaceAll_, false);
        if (replaceAll) whole = values_;
    }

    const fs::path target = resolveLinks(*file_);
    std::string error;
    Dictionary merged;
    {
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        const FileLock fileLock(target, /*wait=*/true);
        if (!fileLock.held()) {
            error = fileLock.error();
        } else if (replaceAll) {
            merged = std::move(whole);
        } else {
            std::string text;
            switch (readRegularFile(target, text, error)) {
            case ReadResult::Read:
                // A file damaged since this store read it holds nothing to keep.
                merged = parse(text).value_or(Dictionary{});
                error.clear();
                break;
            case ReadResult::Missing:
                break;
            case ReadResult::NotRegular:
                error = "it is not a regular file";
                break;
            case ReadResult::Unreadable:
                break;
            }
            applyChanges(merged, changes);
        }
        if (error.empty()) error = replaceFileAtomically(target, toJson(merged).dump(2) + "\n");
    }

    std::lock_guard lock(mutex_);
    if (!error.empty()) {
        // Changes made meanwhile are newer than the ones that failed to go out.
        for (auto& [key, value] : changes) changes_.try_emplace(key, std::move(value));
        replaceAll_ = replaceAll_ || replaceAll;
        reportFailure(error);
        return false;
    }
    // The store now reads what the file holds, with the changes made meanwhile.
    values_ = std::move(merged);
    applyChanges(values_, changes_);
    lastFailure_.clear();
    return true;
}

void UserDefaults::reportFailure(const std::string& error) {
    if (error == lastFailure_) return;
    lastFailure_ = error;
    NSLog("Could not save settings to %@: %@; the previous file is unchanged", file_->string(), error);
}

}  // namespace platform
