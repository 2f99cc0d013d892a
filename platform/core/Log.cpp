#include "platform/core/Log.h"

#include <locale.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/core/Installed.h"
#include "platform/core/SystemLog.h"
#include "platform/core/TerminalText.h"

namespace platform {
namespace {

void writeToSystemLog(const std::string& message) { SystemLog::shared().write(message); }

Installed<LogSink>& currentSink() {
    static Installed<LogSink> sink([] { return LogSink(writeToSystemLog); });
    return sink;
}

// The C conventions (a decimal point) for this thread while it lives, whatever
// locale the process has been given (Qt sets the user's).
class CNumericConventions {
public:
    CNumericConventions() : previous_(cLocale() ? ::uselocale(cLocale()) : nullptr) {}
    ~CNumericConventions() {
        if (previous_) ::uselocale(previous_);
    }
    CNumericConventions(const CNumericConventions&) = delete;
    CNumericConventions& operator=(const CNumericConventions&) = delete;

private:
    static locale_t cLocale() {
        static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c;
    }
    const locale_t previous_;
};

// Formats one numeric conversion with the C library, so widths, precisions and
// flags come out exactly as printf gives them in the C locale.
template <typename T>
std::string cFormat(const std::string& conversion, T value) {
    const CNumericConventions conventions;
    char buffer[128];
    int n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), value);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), conversion.c_str(), value);
    big.resize(static_cast<size_t>(n));
    return big;
}

int64_t asSigned(const LogArg::Value& v) {
    if (auto* i = std::get_if<int64_t>(&v)) return *i;
    if (auto* u = std::get_if<uint64_t>(&v)) return static_cast<int64_t>(*u);
    if (auto* d = std::get_if<double>(&v)) return static_cast<int64_t>(*d);
    return 0;
}

double asDouble(const LogArg::Value& v) {
    if (auto* i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
    if (auto* u = std::get_if<uint64_t>(&v)) return static_cast<double>(*u);
    if (auto* d = std::get_if<double>(&v)) return *d;
    return 0.0;
}

// A real number as the C library writes it, with `separator` for its point.
std::string realNumber(const std::string& conversion, double value, char separator) {
    std::string text = cFormat(conversion, value);
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

std::string asText(const LogArg::Value& v, char decimalSeparator) {
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    if (auto* i = std::get_if<int64_t>(&v)) return std::to_string(*i);
    if (auto* u = std::get_if<uint64_t>(&v)) return std::to_string(*u);
    return realNumber("%g", std::get<double>(v), decimalSeparator);
}

}  // namespace

std::string formatMessage(std::string_view format, std::span<const LogArg> args, char decimalSeparator) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        size_t j = i + 1;
        if (j < format.size() && format[j] == '%') {
            out += '%';
            i = j;
            continue;
        }
        // flags, width, precision, length modifiers, then the conversion
        while (j < format.size() && std::string_view("-+ #0").find(format[j]) != std::string_view::npos) ++j;
        while (j < format.size() && (std::isdigit(static_cast<unsigned char>(format[j])) || format[j] == '.')) ++j;
        std::string_view length;
        const size_t lengthStart = j;
        while (j < format.size() && std::string_view("hlqLzjt").find(format[j]) != std::string_view::npos) ++j;
        length = format.substr(lengthStart, j - lengthStart);
        if (j >= format.size()) {
            out.append(format.substr(i));
            break;
        }
        const size_t start = i;
        const char conversion = format[j];
        const std::string flagsAndWidth(format.substr(i, lengthStart - i));
        const LogArg::Value* arg = next < args.size() ? &args[next].value() : nullptr;
        if (arg) ++next;
        i = j;
        if (!arg) continue;
        switch (conversion) {
            case '@':
            case 's':
                out += asText(*arg, decimalSeparator);
                break;
            case 'd':
            case 'i':
                out += cFormat(flagsAndWidth + "lld", static_cast<long long>(
                                                          length.empty() ? static_cast<int32_t>(asSigned(*arg))
                                                                         : asSigned(*arg)));
                break;
            case 'u':
            case 'x':
            case 'X':
                out += cFormat(flagsAndWidth + "ll" + conversion,
                               static_cast<unsigned long long>(length.empty()
                                                                   ? static_cast<uint32_t>(asSigned(*arg))
                                                                   : static_cast<uint64_t>(asSigned(*arg))));
                break;
            case 'f':
            case 'F':
            case 'e':
            case 'E':
            case 'g':
            case 'G':
                out += realNumber(flagsAndWidth + conversion, asDouble(*arg), decimalSeparator);
                break;
            case 'c':
                out += static_cast<char>(asSigned(*arg));
                break;
            default:
                out.append(format.substr(start, j - start + 1));
                break;
        }
    }
    return out;
}

void logMessage(std::string_view format, std::span<const LogArg> args) {
    const std::string message = formatMessage(format, args);
    // Under the slot's lock: once setLogSink() returns, the sink it replaced
    // is no longer being called.
    currentSink().with([&message](const LogSink& sink) { sink(message); });
}

void logAndTellUser(std::string_view format, std::span<const LogArg> args) {
    logMessage(format, args);
    SystemLog::shared().tellUser(formatTerminalText(format, args), formatMessage(format, args));
}

LogSink setLogSink(LogSink sink) { return currentSink().installOrDefault(std::move(sink)); }

LogCapture::LogCapture() {
    previous_ = setLogSink([this](const std::string& message) {
        std::lock_guard lock(mutex_);
        lines_.push_back(message);
    });
}

LogCapture::~LogCapture() { setLogSink(std::move(previous_)); }

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

bool LogCapture::contains(std::string_view line) const { return count(line) > 0; }

size_t LogCapture::count(std::string_view line) const {
    std::lock_guard lock(mutex_);
    size_t n = 0;
    for (const auto& l : lines_) n += (l == line);
    return n;
}

void LogCapture::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

}  // namespace platform
