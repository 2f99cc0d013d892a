#include "app/Usage.h"

#include "app/Commands.h"

namespace app {

std::string commandsHelp() {
    std::string text = "Commands:\n";
    for (const auto& command : commands()) {
        text += "  pallqa-tuner " + command.synopsis + "\n      " + command.summary + "\n";
    }
    return text;
}

std::string versionText() { return std::string("pallqa-tuner ") + PALLQA_VERSION + "\n"; }

}  // namespace app
