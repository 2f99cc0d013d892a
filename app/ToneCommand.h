#pragma once
// `pallqa-tuner tone NOTE [--seconds S] [--out FILE.wav]`: the tuning fork's
// reference tone at one of the instrument's open pitches, played on the
// output device the program installed or written to a WAV file.

#include "platform/launch/CommandLine.h"

namespace app {

platform::CommandDefinition toneCommand();

}  // namespace app
