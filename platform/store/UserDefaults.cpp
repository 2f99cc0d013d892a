#include "platform/store/UserDefaults.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <nlohmann/json.hpp>

#include "platform/core/FileLock.h"
#include "platform/core/Installed.h"
#include "platform/core/Log.h"
#include "platform/core/RegularFile.h"
#include "platform/core/RemovedOnSignal.h"

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

// Where a save writes before renaming: one name per settings file, used only
// under the lock, so a killed save leaves at most this one file behind.
fs::path temporaryFor(const fs::path& file) { return withSuffix(file, ".tmp"); }

enum class ReadResult { Read, Missing, NotRegular, Unreadable };

// Reads a settings file without ever blocking: a FIFO or a device is not
// read at all.
ReadResult readRegularFile(const fs::path& file, std::string& text, std::string& error) {
    const RegularFile opened = RegularFile::open(file, O_RDONLY);
    switch (opened.outcome()) {
    case RegularFile::Outcome::Opened:
        break;
    case RegularFile::Outcome::Missing:
        return ReadResult::Missing;
    case RegularFile::Outcome::NotRegular:
        error = opened.error();
        return ReadResult::NotRegular;
    case RegularFile::Outcome::Failed:
        error = opened.error();
        return ReadResult::Unreadable;
    }
    text.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(opened.fd(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = std::strerror(errno);
            return ReadResult::Unreadable;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    return ReadResult::Read;
}

std::optional<UserDefaults::Dictionary> parse(const std::string& text) {
    const json parsed = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return std::nullopt;
    return fromJson(parsed);
}

// Removes what killed saves left beside `file`: the temporary file when no
// save holds the lock, and the per-process temporary files of earlier
// versions ("<file>.tmp-<pid>") whose process is gone.
void removeStaleTemporaries(const fs::path& file) {
    const fs::path temporary = temporaryFor(file);
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(temporary, ec))) {
        const FileLock lock(file, FileLock::Wait::No);
        if (lock.held()) ::unlink(temporary.c_str());
    }
    removeTemporariesOfGoneProcesses(file);
}

// The temporary file for a save, made afresh: whatever a killed save left at
// its name (only a save holding the lock uses it), a FIFO or a link included,
// is removed first, and nothing but a new regular file is ever opened.
int createTemporary(const fs::path& temporary) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(temporary.c_str(), flags, 0600);
    if (fd < 0 && errno == EEXIST && ::unlink(temporary.c_str()) == 0) fd = ::open(temporary.c_str(), flags, 0600);
    return fd;
}

// Writes `data` to the temporary file beside `file`, flushes it, renames it
// over `file` and flushes the folder. Returns the error text, empty on success.
// The caller holds the lock.
std::string replaceFileAtomically(const fs::path& file, const std::string& data) {
    if (!isRegularFileOrAbsent(file)) return "it is not a regular file";
    const fs::path temporary = temporaryFor(file);
    const int fd = createTemporary(temporary);
    if (fd < 0) return "cannot make " + temporary.string() + " (" + std::strerror(errno) + ")";
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

// An integer as integerForKey reads it.
int64_t integerFrom(const UserDefaults::Value& value) {
    if (const auto* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
    if (const auto* i = std::get_if<int64_t>(&value)) return *i;
    if (const auto* d = std::get_if<double>(&value)) {
        if (!std::isfinite(*d)) return 0;
        return static_cast<int64_t>(std::clamp(*d, -9.2e18, 9.2e18));
    }
    return std::strtoll(std::get<std::string>(value).c_str(), nullptr, 10);
}

// `from` counted on `counts` times.
int64_t countedOn(int64_t from, uint64_t counts, UserDefaults::Overflow overflow) {
    // Unsigned arithmetic wraps as the count does, and measures the room left exactly.
    const uint64_t wrapped = static_cast<uint64_t>(from) + counts;
    if (overflow == UserDefaults::Overflow::Wrap) return static_cast<int64_t>(wrapped);
    constexpr int64_t kLargest = std::numeric_limits<int64_t>::max();
    const uint64_t room = static_cast<uint64_t>(kLargest) - static_cast<uint64_t>(from);
    return counts >= room ? kLargest : static_cast<int64_t>(wrapped);
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
    const fs::path target = followLinks(*file_);
    removeStaleTemporaries(target);
    std::string text, error;
    switch (readRegularFile(target, text, error)) {
    case ReadResult::Missing:
        return;
    case ReadResult::NotRegular:
        fileUnusable_ = true;
        NSLog("Settings file %@ is not a regular file; starting with default settings, kept in memory only",
              file_->string());
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
    const auto value = objectForKey(key);
    return value ? integerFrom(*value) : 0;
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

UserDefaults::Change UserDefaults::combined(const Change& older, const Change& newer) {
    if (newer.kind != Change::Kind::Count) return newer;
    if (older.kind == Change::Kind::Count) return {Change::Kind::Count, {}, older.counts + newer.counts, newer.overflow};
    // A value set (or removed) here, then counted on: the value is what is saved.
    const int64_t from = older.kind == Change::Kind::Set ? integerFrom(older.value) : 0;
    return {Change::Kind::Set, countedOn(from, newer.counts, newer.overflow)};
}

void UserDefaults::apply(Dictionary& values, const Changes& changes) {
    for (const auto& [key, change] : changes) {
        switch (change.kind) {
        case Change::Kind::Set:
            values[key] = change.value;
            break;
        case Change::Kind::Remove:
            values.erase(key);
            break;
        case Change::Kind::Count: {
            const auto found = values.find(key);
            values[key] = countedOn(found == values.end() ? 0 : integerFrom(found->second), change.counts,
                                    change.overflow);
            break;
        }
        }
    }
}

// Under mutex_.
void UserDefaults::record(const std::string& key, Change change) {
    const auto earlier = changes_.find(key);
    if (earlier == changes_.end()) {
        changes_.emplace(key, std::move(change));
    } else {
        earlier->second = combined(earlier->second, change);
    }
}

void UserDefaults::set(const std::string& key, Value value) {
    std::lock_guard lock(mutex_);
    values_[key] = value;
    record(key, {Change::Kind::Set, std::move(value)});
}

void UserDefaults::setBool(bool value, const std::string& key) { set(key, value); }
void UserDefaults::setInteger(int64_t value, const std::string& key) { set(key, value); }
void UserDefaults::setFloat(float value, const std::string& key) { set(key, static_cast<double>(value)); }
void UserDefaults::setDouble(double value, const std::string& key) { set(key, value); }
void UserDefaults::setObject(std::string value, const std::string& key) { set(key, std::move(value)); }

void UserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    values_.erase(key);
    record(key, {Change::Kind::Remove, {}});
}

int64_t UserDefaults::incrementIntegerForKey(const std::string& key, Overflow overflow) {
    std::lock_guard lock(mutex_);
    const auto found = values_.find(key);
    const int64_t counted = countedOn(found == values_.end() ? 0 : integerFrom(found->second), 1, overflow);
    values_[key] = counted;
    record(key, {Change::Kind::Count, {}, 1, overflow});
    return counted;
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
        if (!file_ || fileUnusable_) {
            changes_.clear();
            replaceAll_ = false;
            // Said once, when the store found its file unusable.
            return !fileUnusable_;
        }
        if (changes_.empty() && !replaceAll_) return true;
        changes.swap(changes_);
        replaceAll = std::exchange(replaceAll_, false);
        if (replaceAll) whole = values_;
    }

    const fs::path target = followLinks(*file_);
    std::string error;
    Dictionary merged;
    {
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        const FileLock fileLock(target, FileLock::Wait::Yes);
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
            apply(merged, changes);
        }
        if (error.empty()) error = replaceFileAtomically(target, toJson(merged).dump(2) + "\n");
    }

    std::lock_guard lock(mutex_);
    if (!error.empty()) {
        // Changes made meanwhile are newer than the ones that failed to go out.
        Changes newer;
        newer.swap(changes_);
        changes_ = std::move(changes);
        for (auto& [key, change] : newer) record(key, std::move(change));
        replaceAll_ = replaceAll_ || replaceAll;
        reportFailure(error);
        return false;
    }
    // The store now reads what the file holds, with the changes made meanwhile.
    values_ = std::move(merged);
    apply(values_, changes_);
    lastFailure_.clear();
    return true;
}

void UserDefaults::reportFailure(const std::string& error) {
    if (error == lastFailure_) return;
    lastFailure_ = error;
    NSLog("Could not save settings to %@: %@; the previous file is unchanged", file_->string(), error);
}

}  // namespace platform
