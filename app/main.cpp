#include <cstdio>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/Usage.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty()) {
        for (const auto& command : app::commands()) {
            if (command.name == arguments.front()) {
                return command.run(std::span<const std::string>(arguments).subspan(1));
            }
        }
    }
    for (const auto& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            std::fputs(app::usageText().c_str(), stdout);
            return 0;
        }
        if (argument == "--version") {
            std::fputs(app::versionText().c_str(), stdout);
            return 0;
        }
    }
    std::fputs(app::usageText().c_str(), stderr);
    return 2;
}
