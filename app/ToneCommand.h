#pragma once
// `pallqa-tuner tone NOTE [--seconds S] [--out FILE.wav]`: the tuning fork's
// reference tone at one of the instrument's open pitches, played on the
// default output device or written to a WAV file.

#include "app/Commands.h"

namespace app {

Command toneCommand();

}  // namespace app
