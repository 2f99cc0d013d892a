#include "tests/app/LiveProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <thread>

namespace live_testing {

namespace fs = std::filesystem;

LiveProcess::LiveProcess(const std::string& command, const fs::path& stdoutFile, const fs::path& stderrFile) {
    pid_ = ::fork();
    if (pid_ != 0) return;
    ::setpgid(0, 0);
    const int out = ::open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
}

LiveProcess::~LiveProcess() {
    if (pid_ > 0 && status_ < 0) stop();
}

int LiveProcess::wait() {
    if (pid_ <= 0 || status_ >= 0) return status_;
    int status = 0;
    if (::waitpid(pid_, &status, 0) != pid_) return status_;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return status_;
}

std::optional<int> LiveProcess::waitFor(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (status_ < 0) {
        int status = 0;
        const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        } else if (ended < 0 || std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return status_;
}

void LiveProcess::signal(int signal) const {
    if (pid_ > 0 && status_ < 0) ::kill(-pid_, signal);
}

int LiveProcess::stop() {
    if (pid_ > 0 && status_ < 0) ::kill(-pid_, SIGTERM);
    return wait();
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t waitForText(const fs::path& file, const std::string& text, size_t from, std::chrono::milliseconds timeout) {
    size_t found = std::string::npos;
    waitUntil(
        [&] {
            const std::string content = readText(file);
            found = from <= content.size() ? content.find(text, from) : std::string::npos;
            return found != std::string::npos;
        },
        timeout);
    return found == std::string::npos ? found : found + text.size();
}

std::vector<int16_t> readRawSamples(const fs::path& file) {
    const std::string bytes = readText(file);
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::copy_n(bytes.data(), samples.size() * sizeof(int16_t), reinterpret_cast<char*>(samples.data()));
    return samples;
}

namespace {

// First and one past the last sample above the threshold.
std::pair<size_t, size_t> soundingStretch(const std::vector<int16_t>& samples, int threshold) {
    const auto loud = [threshold](int16_t sample) { return std::abs(static_cast<int>(sample)) > threshold; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    if (first == samples.end()) return {0, 0};
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    return {static_cast<size_t>(first - samples.begin()), static_cast<size_t>(samples.rend() - last)};
}

// Whether the sound rises through zero at sample `index` (at least 1).
bool risesAt(const std::vector<int16_t>& samples, size_t index) { return samples[index - 1] < 0 && samples[index] >= 0; }

}  // namespace

double soundingSeconds(const std::vector<int16_t>& samples, double sampleRate, int threshold) {
    const auto [begin, end] = soundingStretch(samples, threshold);
    return static_cast<double>(end - begin) / sampleRate;
}

double periodSeconds(const std::vector<int16_t>& samples, double frequency, int threshold) {
    const auto [begin, end] = soundingStretch(samples, threshold);
    size_t rises = 0;
    for (size_t i = std::max<size_t>(begin, 1); i < end; ++i) {
        if (risesAt(samples, i)) ++rises;
    }
    return static_cast<double>(rises) / frequency;
}

double zeroCrossingFrequency(const std::vector<int16_t>& samples, double sampleRate, int threshold) {
    // A tenth of a second at a time, then the median: a stretch the sound
    // server dropped under load lengthens one window, not the pitch.
    const auto [begin, end] = soundingStretch(samples, threshold);
    const size_t from = begin + (end - begin) / 4;
    const size_t to = end - (end - begin) / 4;
    const auto window = static_cast<size_t>(sampleRate / 10);
    std::vector<double> frequencies;
    for (size_t start = from; start < to; start += window) {
        const size_t stop = std::min(start + window, to);
        size_t firstRise = 0, lastRise = 0, rises = 0;
        for (size_t i = start + 1; i < stop; ++i) {
            if (risesAt(samples, i)) {
                if (rises++ == 0) firstRise = i;
                lastRise = i;
            }
        }
        if (rises >= 2) {
            frequencies.push_back(static_cast<double>(rises - 1) * sampleRate / static_cast<double>(lastRise - firstRise));
        }
    }
    if (frequencies.empty()) return 0.0;
    const auto middle = frequencies.begin() + static_cast<std::ptrdiff_t>(frequencies.size() / 2);
    std::nth_element(frequencies.begin(), middle, frequencies.end());
    return *middle;
}

std::optional<size_t> missingStart(const std::vector<int16_t>& recorded, const std::vector<int16_t>& played,
                                   int threshold, size_t length, int tolerance) {
    constexpr size_t kLongestSkip = 44100;
    const size_t recordedOnset = soundingStretch(recorded, threshold).first;
    const size_t playedOnset = soundingStretch(played, threshold).first;
    if (recordedOnset + length > recorded.size()) return std::nullopt;
    for (size_t skip = 0; skip <= kLongestSkip && playedOnset + skip + length <= played.size(); ++skip) {
        const auto agrees = [&](size_t i) {
            return std::abs(recorded[recordedOnset + i] - played[playedOnset + skip + i]) <= tolerance;
        };
        size_t i = 0;
        while (i < length && agrees(i)) ++i;
        if (i == length) return skip;
    }
    return std::nullopt;
}

std::optional<size_t> missingEnd(const std::vector<int16_t>& recorded, const std::vector<int16_t>& played,
                                 int threshold, size_t length, int tolerance) {
    return missingStart({recorded.rbegin(), recorded.rend()}, {played.rbegin(), played.rend()}, threshold, length,
                        tolerance);
}

std::string commandOutput(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {};
    std::string output;
    char chunk[4096];
    while (const size_t count = std::fread(chunk, 1, sizeof chunk, pipe.get())) output.append(chunk, count);
    return output;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return condition();
}

}  // namespace live_testing
