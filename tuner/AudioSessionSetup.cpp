#include "tuner/AudioSessionSetup.h"

#include <optional>

#include "platform/audio/AudioSession.h"
#include "platform/core/Log.h"

namespace tuner {

void setUpAudioSessionForMeasuring() {
    const auto session = platform::AudioSession::sharedInstance();
    std::optional<platform::AudioSessionError> error;
    if (session) {
        error = session->setCategory(platform::kAudioSessionCategoryPlayAndRecord,
                                     platform::kAudioSessionCategoryOptionDefaultToSpeaker);
        // Measurement mode is a wish: the tuner works without it.
        (void)session->setMode(platform::kAudioSessionModeMeasurement);
    }
    if (!session) {
        platform::NSLog("Error creating session: %@", error ? error->localizedDescription.c_str() : nullptr);
    } else {
        // Capture starts whether or not the session agrees.
        (void)session->setActive(true);
    }
}

}  // namespace tuner
