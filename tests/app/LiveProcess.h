#pragma once
// Programs a live-audio test runs beside each other — the tuner, a player
// feeding the virtual microphone, a recorder on the virtual speaker — each in
// a process group of its own, its output kept in files.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace live_testing {

class LiveProcess {
public:
    // Starts `command` with sh; stdout and stderr go to the two files.
    LiveProcess(const std::string& command, const std::filesystem::path& stdoutFile,
                const std::filesystem::path& stderrFile);
    // Ends the process if it still runs.
    ~LiveProcess();
    LiveProcess(const LiveProcess&) = delete;
    LiveProcess& operator=(const LiveProcess&) = delete;

    // Waits for the end; the exit status, or 128 + signal.
    int wait();
    // The same, waiting no longer than `timeout`: nothing when it has not ended by then.
    std::optional<int> waitFor(std::chrono::milliseconds timeout);
    // Sends `signal` to the process group.
    void signal(int signal) const;
    // Asks the process group to end (SIGTERM), then waits.
    int stop();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// The whole of a file; empty when it cannot be read.
std::string readText(const std::filesystem::path& file);

// Polls `file` until it holds `text` after position `from`; the position just
// after it, or npos when `timeout` passes first.
size_t waitForText(const std::filesystem::path& file, const std::string& text, size_t from,
                   std::chrono::milliseconds timeout);

// A recording of 16-bit mono samples as the speaker's monitor gave them.
std::vector<int16_t> readRawSamples(const std::filesystem::path& file);

// Seconds from the first sample above `threshold` (absolute) to the last one;
// 0 for a recording that never rises above it.
double soundingSeconds(const std::vector<int16_t>& samples, double sampleRate, int threshold);

// How long a tone of `frequency` hertz sounded, counted in its own periods:
// its rises through zero from its first sample above `threshold` to its last.
// Silence the sound server puts in while a loaded machine keeps the player
// waiting lengthens the stretch but adds no period, so this is the length of
// the tone that was played, however the processes were scheduled.
double periodSeconds(const std::vector<int16_t>& samples, double frequency, int threshold);

// The frequency of a periodic sound by its zero crossings over the middle
// half of its sounding stretch: the median of its tenth-of-a-second windows.
double zeroCrossingFrequency(const std::vector<int16_t>& samples, double sampleRate, int threshold);

// How many of the played sound's first samples the recording lacks: both
// taken from their first sample above `threshold`, the fewest samples of the
// played sound to skip for the next `length` samples of the two to agree to
// within `tolerance`; nullopt when no skip of up to a second does.
std::optional<size_t> missingStart(const std::vector<int16_t>& recorded, const std::vector<int16_t>& played,
                                   int threshold, size_t length, int tolerance);
// The same for the played sound's last samples, both taken back from their
// last sample above `threshold`.
std::optional<size_t> missingEnd(const std::vector<int16_t>& recorded, const std::vector<int16_t>& played,
                                 int threshold, size_t length, int tolerance);

// What a short shell command prints; empty when it cannot run.
std::string commandOutput(const std::string& command);

// Polls `condition` until it holds; false when `timeout` passes first.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

}  // namespace live_testing
