#pragma once
// A loudspeaker that cannot play — none there, or one that refuses the
// stream — is said once per run, on stderr and as the audio notice, whether
// the tone, a string sound or the beep found out; the program carries on
// without sound.

#include <string>

namespace platform::audio::desktop {

// Any thread but an audio callback. `why` names the cause, e.g. PortAudio's error text.
void reportOutputUnavailable(const std::string& why);

}  // namespace platform::audio::desktop
