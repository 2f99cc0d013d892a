#include "platform/audio/desktop/LibraryNoise.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/core/Log.h"

namespace platform::audio::desktop {
namespace {

// How the audio libraries' own lines begin.
constexpr std::string_view kNoisePrefixes[] = {
    "ALSA lib ",              // ALSA's error handler
    "Expression '",           // PortAudio's ALSA host checking each call
    "PaAlsa",                 // PortAudio's ALSA host
    "Connection failure: ",   // ALSA's PulseAudio plugin
    "Stream error: ",         // ALSA's PulseAudio plugin
    "Cannot connect to server",  // JACK probed at start-up
    "jack server",            // JACK probed at start-up
    "JackShmReadWritePtr",    // JACK probed at start-up
    "[src/libmpg123/",        // libmpg123, libsndfile's MP3 decoder
    "Note: ",                 // libmpg123 on a damaged MP3 frame
    "Warning: ",              // libmpg123 on a damaged or cut MP3 stream
};

// Room for bursts of output while the filter is busy writing a line.
constexpr int kPipeBytes = 1 << 20;
// How long the filter, at exit, waits for more before it takes the pipe
// for dry. Until then it sleeps until a line comes or the exit wakes it.
constexpr int kDryMilliseconds = 50;

class StderrFilter {
public:
    bool install() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return false;
        if (::pipe2(wakeUp_, O_CLOEXEC) != 0) {
            ::close(ends[0]);
            ::close(ends[1]);
            return false;
        }
        std::fflush(stderr);
        terminal_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (terminal_ < 0 || ::dup2(ends[1], STDERR_FILENO) < 0) {
            for (const int end : {ends[0], ends[1], wakeUp_[0], wakeUp_[1]}) ::close(end);
            return false;
        }
        ::close(ends[1]);
        ::fcntl(ends[0], F_SETPIPE_SZ, kPipeBytes);
        reading_ = ends[0];
        forwarder_ = std::thread([this] { forward(); });
        return true;
    }

    // At exit: the terminal gets stderr back once every line written so far
    // has been passed on. A program this one started (a browser, say) may
    // hold the pipe open for longer; the filter does not wait for it.
    void uninstall() {
        std::fflush(stderr);
        ::dup2(terminal_, STDERR_FILENO);
        closing_ = true;
        const char wake = 0;
        // A byte into an empty pipe of our own: it cannot fail.
        [[maybe_unused]] const ssize_t woken = ::write(wakeUp_[1], &wake, 1);
        if (forwarder_.joinable()) forwarder_.join();
        for (const int end : {reading_, wakeUp_[0], wakeUp_[1]}) ::close(end);
    }

private:
    // Runs on the filter's thread until the pipe ends or, once stderr has been
    // given back, runs dry.
    void forward() {
        std::array<char, 4096> chunk{};
        std::string pending;
        for (;;) {
            std::array<pollfd, 2> ready{pollfd{reading_, POLLIN, 0}, pollfd{wakeUp_[0], POLLIN, 0}};
            const bool closing = closing_;
            const int polled = ::poll(ready.data(), closing ? 1 : 2, closing ? kDryMilliseconds : -1);
            if (polled == 0) break;    // dry after the exit
            if (polled < 0) continue;  // interrupted
            if (ready[0].revents == 0) continue;  // woken for the exit
            const ssize_t count = ::read(reading_, chunk.data(), chunk.size());
            if (count == 0) break;
            if (count < 0) continue;
            pending.append(chunk.data(), static_cast<size_t>(count));
            size_t end;
            while ((end = pending.find('\n')) != std::string::npos) {
                pass(std::string_view(pending).substr(0, end + 1));
                pending.erase(0, end + 1);
            }
        }
        if (!pending.empty()) pass(pending);
    }

    void pass(std::string_view line) {
        // Some of them end a message with an empty line of its own.
        if (line == "\n") return;
        if (isLibraryNoise(line)) {
            std::string_view text = line;
            if (text.ends_with('\n')) text.remove_suffix(1);
            NSLog("%@", std::string(text));
            return;
        }
        while (!line.empty()) {
            const ssize_t written = ::write(terminal_, line.data(), line.size());
            if (written <= 0) return;
            line.remove_prefix(static_cast<size_t>(written));
        }
    }

    std::atomic<bool> closing_{false};
    int terminal_ = -1;
    int reading_ = -1;
    int wakeUp_[2] = {-1, -1};  // written once at exit
    std::thread forwarder_;
};

StderrFilter filter;

}  // namespace

bool isLibraryNoise(std::string_view line) {
    for (const std::string_view prefix : kNoisePrefixes) {
        if (line.starts_with(prefix)) return true;
    }
    return false;
}

void routeLibraryNoiseToLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (filter.install()) std::atexit([] { filter.uninstall(); });
    });
}

}  // namespace platform::audio::desktop
