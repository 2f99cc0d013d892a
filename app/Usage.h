#pragma once
#include <string>

namespace app {

// The text of `pallqa-tuner --help`.
std::string usageText();
// The text of `pallqa-tuner --version`.
std::string versionText();

}  // namespace app
