#pragma once
// The program's log: one line per call, to the system log (SystemLog.h) unless
// a test captured it. Formats use the printf conventions the system's messages
// are written in, plus %@ for a text argument.

#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace platform {

// One argument of a log format.
class LogArg {
public:
    template <typename T>
        requires std::is_integral_v<T>
    LogArg(T value)  // NOLINT(google-explicit-constructor): arguments convert implicitly
        : value_(std::is_signed_v<T> || std::is_same_v<T, bool>
                     ? Value(static_cast<int64_t>(value))
                     : Value(static_cast<uint64_t>(value))) {}
    LogArg(double value) : value_(value) {}   // NOLINT(google-explicit-constructor)
    LogArg(float value) : value_(static_cast<double>(value)) {}  // NOLINT(google-explicit-constructor)
    LogArg(std::string value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
    LogArg(std::string_view value) : value_(std::string(value)) {}  // NOLINT(google-explicit-constructor)
    LogArg(const char* value) : value_(std::string(value ? value : "(null)")) {}  // NOLINT(google-explicit-constructor)

    using Value = std::variant<int64_t, uint64_t, double, std::string>;
    const Value& value() const { return value_; }

private:
    Value value_;
};

// Expands a format such as "bottomLimit: %f" or "%@ Error setting category: %@".
// A conversion without a matching argument prints nothing. Real numbers are
// written with `decimalSeparator` (the log's own lines keep the point).
std::string formatMessage(std::string_view format, std::span<const LogArg> args, char decimalSeparator = '.');

// Writes one formatted line to the current sink (the system log unless a test captured it).
void logMessage(std::string_view format, std::span<const LogArg> args);

template <typename... Args>
void NSLog(std::string_view format, const Args&... args) {
    const LogArg packed[] = {LogArg(args)..., LogArg(0)};
    logMessage(format, std::span<const LogArg>(packed, sizeof...(Args)));
}

// Logs a line the user must see whatever the log shows (no display, no
// microphone): it also goes to stderr, as "pallqa-tuner: <line>" in the user's
// language (TerminalText.h), unless the log itself shows it there already.
void logAndTellUser(std::string_view format, std::span<const LogArg> args);

template <typename... Args>
void NSLogAndTellUser(std::string_view format, const Args&... args) {
    const LogArg packed[] = {LogArg(args)..., LogArg(0)};
    logAndTellUser(format, std::span<const LogArg>(packed, sizeof...(Args)));
}

// Collects the log's messages (without prefix) while it lives; for tests.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    bool contains(std::string_view line) const;
    size_t count(std::string_view line) const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::function<void(const std::string&)> previous_;
};

// Where log lines go; the default hands them to the system log.
using LogSink = std::function<void(const std::string& message)>;
LogSink setLogSink(LogSink sink);

}  // namespace platform
