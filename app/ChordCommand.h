#pragma once
// `pallqa-tuner chord ROOT VARIANT [--flat] [--json]`: one cell of the chord
// table, drawn as a diagram in the terminal or printed as a JSON object.

#include "platform/launch/CommandLine.h"

namespace app {

platform::CommandDefinition chordCommand();

}  // namespace app
