#include "app/Version.h"

namespace app {

std::string versionText() { return std::string("pallqa-tuner ") + PALLQA_VERSION + "\n"; }

}  // namespace app
