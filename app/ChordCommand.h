#pragma once
// `pallqa-tuner chord ROOT VARIANT [--flat] [--json]`: one cell of the chord
// table, drawn as a diagram in the terminal or printed as a JSON object.

#include <iosfwd>
#include <span>
#include <string>

#include "app/Commands.h"

namespace app {

Command chordCommand();

// The command's work on the given streams; returns the exit status (2 for bad
// arguments). Reads only the table: no stored setting is touched.
int runChordCommand(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace app
