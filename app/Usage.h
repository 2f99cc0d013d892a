#pragma once
#include <string>

namespace app {

// The program's commands, as --help lists them after the options.
std::string commandsHelp();
// The text of `pallqa-tuner --version`.
std::string versionText();

}  // namespace app
