#pragma once
// PortAudio must be initialised before any stream is opened and terminated
// after the last one closes. Every user of PortAudio holds one of these.

#include <memory>

namespace platform::audio::desktop {

class PortAudioSession {
public:
    // Initialises PortAudio on first use; empty when it cannot be initialised
    // (one line on stderr says why).
    static std::shared_ptr<PortAudioSession> acquire();
    ~PortAudioSession();
    PortAudioSession(const PortAudioSession&) = delete;
    PortAudioSession& operator=(const PortAudioSession&) = delete;

private:
    PortAudioSession() = default;
};

}  // namespace platform::audio::desktop
