#pragma once
// Which microphone and loudspeaker a run uses: the ones named on the command
// line (--input-device, --output-device), else the microphone remembered in
// the settings, else the defaults; and --list-devices.

#include <string>

#include "platform/launch/ApplicationMain.h"

namespace platform::desktop {

// The settings key under which the window's microphone choice is kept: the
// device's full name.
inline constexpr const char* kRememberedMicrophoneKey = "PallqaMicrophone";

// Lists the devices on stdout for --list-devices (the run then ends with 0);
// chooses the named devices, ending the run with 2 and the list of devices
// when one is not there; otherwise uses the remembered microphone, or the
// default one with a line on stderr when the remembered one is absent.
AudioChoice selectAudioDevices(const LaunchOptions& options);

// Offers the machine's inputs to the window's microphone chooser; a choice
// there takes effect at once and is kept under kRememberedMicrophoneKey.
void offerMicrophoneChoice();

}  // namespace platform::desktop
