#include "platform/audio/desktop/PortAudioSession.h"

#include <portaudio.h>

#include <mutex>

#include "platform/audio/AudioNotice.h"
#include "platform/audio/desktop/LibraryNoise.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {

std::shared_ptr<PortAudioSession> PortAudioSession::acquire() {
    // Not an installed service (core/Installed.h): nobody chooses this session;
    // it lives while a stream holds it, and a reset must not end it under them.
    static std::mutex mutex;
    static std::weak_ptr<PortAudioSession> current;
    std::lock_guard lock(mutex);
    if (auto session = current.lock()) return session;
    // While PortAudio probes its host APIs, ALSA and JACK print dozens of lines
    // about devices this machine lacks, and more whenever a device fails.
    routeLibraryNoiseToLog();
    const PaError error = Pa_Initialize();
    if (error != paNoError) {
        tellOnStderrAndInWindow(terminalText("audio is unavailable: %@", Pa_GetErrorText(error)));
        return nullptr;
    }
    std::shared_ptr<PortAudioSession> session(new PortAudioSession());
    current = session;
    return session;
}

PortAudioSession::~PortAudioSession() { Pa_Terminate(); }

}  // namespace platform::audio::desktop
