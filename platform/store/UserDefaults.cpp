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
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

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
    for (const auto& [key, value] : values) {
        std::visit([&](const auto& v) { object[key] = v; }, value);
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

// Writes `data` to a temporary file beside `file`, flushes it, renames it over
// `file` and flushes the folder. Returns the error text, empty on success.
std::string replaceFileAtomically(const fs::path& file, const std::string& data) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    fs::path temporary = file;
    temporary += ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
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

}  // namespace

UserDefaults& UserDefaults::standardUserDefaults() { return *standardSlot().get(); }

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
    if (dirty_) synchronize();
}

void UserDefaults::load() {
    std::error_code ec;
    if (!fs::exists(*file_, ec)) return;
    std::ifstream in(*file_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::optional<Dictionary> values;
    if (in) {
        const json parsed = json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
        if (!parsed.is_discarded()) values = fromJson(parsed);
    }
    if (values) {
        values_ = std::move(*values);
        return;
    }
    if (auto aside = setAside(*file_)) {
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
    values_[key] = std::move(value);
    dirty_ = true;
}

void UserDefaults::setBool(bool value, const std::string& key) { set(key, value); }
void UserDefaults::setInteger(int64_t value, const std::string& key) { set(key, value); }
void UserDefaults::setFloat(float value, const std::string& key) { set(key, static_cast<double>(value)); }
void UserDefaults::setDouble(double value, const std::string& key) { set(key, value); }
void UserDefaults::setObject(std::string value, const std::string& key) { set(key, std::move(value)); }

void UserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    values_.erase(key);
    dirty_ = true;
}

void UserDefaults::setPersistentDomain(const Dictionary& domain, const std::string& name) {
    if (name != domainName_) return;
    std::lock_guard lock(mutex_);
    values_ = domain;
    dirty_ = true;
}

UserDefaults::Dictionary UserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(mutex_);
    return values_;
}

bool UserDefaults::synchronize() {
    std::lock_guard writeLock(writeMutex_);
    std::string text;
    {
        std::lock_guard lock(mutex_);
        if (!file_) {
            dirty_ = false;
            return true;
        }
        text = toJson(values_).dump(2) + "\n";
        dirty_ = false;
    }
    const std::string error = replaceFileAtomically(*file_, text);
    if (error.empty()) return true;
    std::lock_guard lock(mutex_);
    dirty_ = true;
    NSLog("Could not save settings to %@: %@; the previous file is unchanged", file_->string(), error);
    return false;
}

}  // namespace platform
