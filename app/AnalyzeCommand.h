#pragma once
// `pallqa-tuner analyze FILE [--json] [--guide] [--plot OUT]`: the pitch
// detector over every capture buffer of a recording — time, frequency, bin,
// the tuner's matched note and the level, one line per buffer — or, with
// --guide, the guide's own reading after every hop; as text or as one JSON
// object per line. --plot draws the guide's readings into a picture.
// Exits 0 when the file was analysed, 1 when it could not be read or the
// picture not written (one line on stderr says why), 2 for a command line
// that cannot be read.

#include "platform/launch/CommandLine.h"

namespace app {

platform::CommandDefinition analyzeCommand();

}  // namespace app
