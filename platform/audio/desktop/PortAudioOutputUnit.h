#pragma once
// Output units that play on the chosen (else the default) output device through
// PortAudio. Install with
// `platform::AudioComponent::setOutputUnitFactory(platform::audio::desktop::makePortAudioOutputUnit)`.

#include <memory>

#include "platform/audio/AudioOutputUnit.h"

namespace platform::audio::desktop {

// A new unit on the chosen output device. Starting it opens a stream in the
// unit's format, whose render callback is pulled on PortAudio's thread;
// stopping it lets what was rendered be heard, then closes the stream. Without an
// output device, initialising fails and the unit never starts; the run is
// told once (OutputUnavailable.h).
std::shared_ptr<AudioOutputUnit> makePortAudioOutputUnit();

}  // namespace platform::audio::desktop
