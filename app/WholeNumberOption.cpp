#include "app/WholeNumberOption.h"

#include <CLI/CLI.hpp>

#include "platform/core/TerminalText.h"

namespace app {

CLI::Validator wholeNumberBetween(int lowest, int highest, const std::string& typeName) {
    const CLI::Range inRange(lowest, highest);
    return CLI::Validator(
        [=](std::string& input) {
            return inRange(input).empty()
                       ? std::string()
                       : platform::terminalText("Value %@ not in range %@ to %@", input, lowest, highest);
        },
        platform::terminalText("%@ in [%@ - %@]", typeName, lowest, highest));
}

}  // namespace app
