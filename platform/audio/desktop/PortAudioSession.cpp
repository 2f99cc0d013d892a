#include "platform/audio/desktop/PortAudioSession.h"

#include <portaudio.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

namespace platform::media {
namespace {

// While PortAudio probes its host APIs, ALSA and JACK print dozens of lines
// about devices this machine lacks; the program says what matters in one line.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
        if (null >= 0) ::close(null);
    }
    ~QuietStderr() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

}  // namespace

std::shared_ptr<PortAudioSession> PortAudioSession::acquire() {
    // Not an installed service (core/Installed.h): nobody chooses this session;
    // it lives while a stream holds it, and a reset must not end it under them.
    static std::mutex mutex;
    static std::weak_ptr<PortAudioSession> current;
    std::lock_guard lock(mutex);
    if (auto session = current.lock()) return session;
    PaError error;
    {
        QuietStderr quiet;
        error = Pa_Initialize();
    }
    if (error != paNoError) {
        std::fprintf(stderr, "pallqa-tuner: audio is unavailable: %s\n", Pa_GetErrorText(error));
        return nullptr;
    }
    std::shared_ptr<PortAudioSession> session(new PortAudioSession());
    current = session;
    return session;
}

PortAudioSession::~PortAudioSession() { Pa_Terminate(); }

}  // namespace platform::media
