#include "platform/core/RemovedOnSignal.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <optional>
#include <string>
#include <system_error>

#include "platform/core/TerminalText.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::array kSignals = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ};

// Everything the handler needs, made before it can run: a handler may only
// make calls that are safe in it (unlink, write, raise).
struct PendingFile {
    std::string temporary;
    std::string interrupted;  // the line for a stop
    std::string tooLarge;     // the line for SIGXFSZ
};

std::atomic<const PendingFile*> pending{nullptr};
std::array<struct sigaction, kSignals.size()> previous{};

void removeAndEnd(int signal) {
    const int savedErrno = errno;
    if (const PendingFile* file = pending.exchange(nullptr)) {
        ::unlink(file->temporary.c_str());
        const std::string& line = signal == SIGXFSZ ? file->tooLarge : file->interrupted;
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
    }
    // Ends as the signal would have: the handler was reset on entry, and the
    // signal, blocked until the handler returns, is delivered then.
    ::raise(signal);
    errno = savedErrno;
}

std::optional<pid_t> processOf(const std::string& suffix) {
    // "-<pid>" or "-<pid>-<n>"
    if (suffix.size() < 2 || suffix[0] != '-') return std::nullopt;
    const size_t end = suffix.find('-', 1);
    const std::string digits = suffix.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    if (end != std::string::npos) {
        const std::string count = suffix.substr(end + 1);
        if (count.empty() || count.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    }
    return static_cast<pid_t>(std::stoll(digits));
}

bool processIsGone(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

RemovedOnSignal::RemovedOnSignal(const fs::path& temporary, const std::string& target) {
    static PendingFile file;
    file = {temporary.string(), "pallqa-tuner: " + terminalText("stopped; %@ is not written", target) + "\n",
            "pallqa-tuner: " + terminalText("cannot write %@: file too large", target) + "\n"};
    pending.store(&file);
    struct sigaction action {};
    action.sa_handler = removeAndEnd;
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &action, &previous[i]);
}

RemovedOnSignal::~RemovedOnSignal() {
    for (size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &previous[i], nullptr);
    pending.store(nullptr);
}

void removeTemporariesOfGoneProcesses(const fs::path& file) {
    const std::string prefix = file.filename().string() + ".tmp";
    std::error_code ec;
    fs::directory_iterator entries(file.parent_path().empty() ? "." : file.parent_path(), ec);
    if (ec) return;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0 || !entry.is_regular_file(ec)) continue;
        const auto pid = processOf(name.substr(prefix.size()));
        if (pid && processIsGone(*pid)) ::unlink(entry.path().c_str());
    }
}

}  // namespace platform
