#include "platform/audio/desktop/OutputUnavailable.h"

#include <atomic>
#include <cstdio>

#include "platform/audio/AudioNotice.h"
#include "platform/core/Bundle.h"

namespace platform::audio::desktop {

void reportOutputUnavailable(const std::string& why) {
    static std::atomic<bool> reported{false};
    if (reported.exchange(true)) return;
    std::fprintf(stderr, "pallqa-tuner: no sound can be played (%s); the tuning fork and the string sounds are silent\n",
                 why.c_str());
    setAudioNotice(Bundle::mainBundle().localizedString(
        "NoSoundOutputNotice", "No sound output: the tuning fork, the string sounds and the beep cannot be heard.", ""));
}

}  // namespace platform::audio::desktop
