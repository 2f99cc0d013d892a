#pragma once
#include <string>

namespace app {

// The text of `pallqa-tuner --version`.
std::string versionText();

}  // namespace app
