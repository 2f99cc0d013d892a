#include "platform/audio/desktop/OutputUnavailable.h"

#include <atomic>

#include "platform/audio/AudioNotice.h"
#include "platform/core/Bundle.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {

void reportOutputUnavailable(const std::string& why) {
    static std::atomic<bool> reported{false};
    if (reported.exchange(true)) return;
    tellOnStderr(terminalText("no sound can be played (%@); the tuning fork and the string sounds are silent", why));
    showAudioNotice(Bundle::mainBundle()->localizedString(
        "NoSoundOutputNotice", "No sound output: the tuning fork, the string sounds and the beep cannot be heard.", ""));
}

}  // namespace platform::audio::desktop
