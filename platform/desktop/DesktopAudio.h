#pragma once
// The sound of a desktop run, chosen from the options in one place: what the
// tuner hears (the --input recording, else the microphone, else the bundled
// demo recording of the five strings being tuned) and what plays the sounds
// and the tuning-fork tone (the sound card, except when --fast runs the clock
// faster than any loudspeaker could follow).

#include "platform/launch/ApplicationMain.h"

namespace platform::desktop {

// The desktop's audio services that every command may use: the sound card's
// tone output and the recording opener.
void installDesktopAudio();

// Chooses the devices (DeviceSelection.h), then installs the input, the
// sound-file players and the tone output for `options`. Says once on stderr
// when the demo recording stands in for a missing microphone; an --input file
// that holds no sound is an error.
AudioChoice setUpDesktopAudio(const LaunchOptions& options);

}  // namespace platform::desktop
