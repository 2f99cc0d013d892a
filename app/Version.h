#pragma once
// The program's version, as --version prints it.

#include <string>

namespace app {

// The text of `pallqa-tuner --version`, e.g. "pallqa-tuner 1.0.0\n".
std::string versionText();

}  // namespace app
