#include "platform/media/PortAudioSession.h"

#include <portaudio.h>

#include <cstdio>
#include <mutex>

namespace platform::media {

std::shared_ptr<PortAudioSession> PortAudioSession::acquire() {
    static std::mutex mutex;
    static std::weak_ptr<PortAudioSession> current;
    std::lock_guard lock(mutex);
    if (auto session = current.lock()) return session;
    const PaError error = Pa_Initialize();
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
