#pragma once
// The per-application settings store: typed values by key, kept in memory and,
// for a file-backed store, kept in one JSON file. synchronize() saves only the
// keys this instance changed since its last save, merged onto the file's
// current contents under an advisory lock (flock on "<file>.lock" beside it),
// so a run nested inside another never loses the other's changes; a counter
// saves the counts this instance added, never its own idea of the total, so
// runs counting at once lose none of each other's counts.
// Every single read or write is atomic with respect to other threads.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

namespace platform {

class UserDefaults {
public:
    using Value = std::variant<bool, int64_t, double, std::string>;
    using Dictionary = std::map<std::string, Value>;

    // The process's store. Until one is installed, an in-memory store. A caller
    // keeps the store it was handed for as long as it holds the handle, whatever
    // is installed or reset meanwhile.
    static std::shared_ptr<UserDefaults> standardUserDefaults();
    static void setStandardUserDefaults(std::shared_ptr<UserDefaults> store);

    // A store that lives only in memory (tests, the console's throw-away runs).
    static std::shared_ptr<UserDefaults> inMemory(std::string domainName = "");
    // A store kept in `file`; a damaged file is set aside and the store starts
    // empty; anything that is not a regular file (a FIFO, a device, a folder)
    // is neither read nor ever replaced: one log line, and the store lives in
    // memory only. A symbolic link is followed: saves replace its target, in
    // the target's folder. Temporary files that a killed save left behind are
    // removed.
    static std::shared_ptr<UserDefaults> atFile(std::filesystem::path file, std::string domainName);

    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // Reads. A missing key reads as NO, 0, 0.0 or the empty text; a boolean
    // reads as 0 or 1, a number as a boolean when not zero.
    bool boolForKey(const std::string& key) const;
    int64_t integerForKey(const std::string& key) const;
    float floatForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    std::string stringForKey(const std::string& key) const;
    std::optional<Value> objectForKey(const std::string& key) const;

    // Writes replace the key's earlier value, whatever its type.
    void setBool(bool value, const std::string& key);
    void setInteger(int64_t value, const std::string& key);
    void setFloat(float value, const std::string& key);
    void setDouble(double value, const std::string& key);
    void setObject(std::string value, const std::string& key);
    void removeObjectForKey(const std::string& key);

    // What a counter does at the largest number: stay there, or go on from the smallest.
    enum class Overflow { Stay, Wrap };
    // Adds 1 to the integer under `key` (read as integerForKey reads it) and
    // answers the new value. A save adds this instance's counts to whatever
    // the file holds by then, unless the key was also set or removed here
    // since the last save: then the value set, counted on, is saved.
    int64_t incrementIntegerForKey(const std::string& key, Overflow overflow = Overflow::Stay);

    // Replaces every value of the named domain; this store's own domain is the
    // only one it holds, so other names are ignored.
    void setPersistentDomain(const Dictionary& domain, const std::string& name);
    Dictionary dictionaryRepresentation() const;
    const std::string& domainName() const { return domainName_; }

    // Writes this instance's changes through to its file, merged onto what the
    // file holds now (another instance's changes included, which the store then
    // reads too): after a crash at any instant the file holds either the old or
    // the new contents, and at most one temporary file is left. False when the
    // write failed (logged once per cause); the values in memory stay either way.
    bool synchronize();

private:
    // A key's change since the last save: a new value, a removal, or a
    // number of counts to add to the value the file holds.
    struct Change {
        enum class Kind { Set, Remove, Count } kind;
        Value value;
        uint64_t counts = 0;
        Overflow overflow = Overflow::Stay;
    };
    using Changes = std::map<std::string, Change>;

    // `newer` made after `older`, as one change.
    static Change combined(const Change& older, const Change& newer);
    static void apply(Dictionary& values, const Changes& changes);

    UserDefaults(std::optional<std::filesystem::path> file, std::string domainName);
    void load();
    void record(const std::string& key, Change change);
    void set(const std::string& key, Value value);
    // Under writeMutex_: logs `error` unless it is the cause logged last.
    void reportFailure(const std::string& error);

    const std::optional<std::filesystem::path> file_;
    const std::string domainName_;
    // Set when the file's name is held by something other than a regular
    // file: this store then lives in memory only.
    bool fileUnusable_ = false;
    mutable std::mutex mutex_;
    Dictionary values_;
    // What changed since the last save; with replaceAll_ the whole domain was
    // replaced, so the next save writes values_ whole.
    Changes changes_;
    bool replaceAll_ = false;
    std::mutex writeMutex_;
    std::string lastFailure_;  // guarded by writeMutex_
};

}  // namespace platform
