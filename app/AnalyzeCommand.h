#pragma once
// `pallqa-tuner analyze FILE [--json]`: the pitch detector over every capture
// buffer of a recording — time, frequency, bin, the tuner's matched note and
// the level, one line per buffer, as text or as one JSON object per line.

#include <iosfwd>
#include <span>
#include <string>

#include "app/Commands.h"

namespace app {

Command analyzeCommand();

// The command with its output streams: 0 when the file was analysed, 1 when
// it could not be read (one line on `err` says why), 2 for a usage error.
int runAnalyze(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace app
