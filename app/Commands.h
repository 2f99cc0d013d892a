#pragma once
// The program's commands besides the application itself (`pallqa-tuner analyze`
// and friends), each run to completion on the console.

#include <vector>

#include "platform/launch/CommandLine.h"

namespace app {

// Made afresh for each call: their help is in the language of the bundle in use.
std::vector<platform::CommandDefinition> commands();

}  // namespace app
