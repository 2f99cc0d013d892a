#pragma once
// The program's commands besides the application itself (`pallqa-tuner analyze`
// and friends), each run to completion on the console.

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace app {

struct Command {
    std::string name;
    std::string synopsis;  // shown by --help, e.g. "analyze FILE [--json]"
    std::string summary;
    // Receives the arguments after the command name; returns the exit status.
    std::function<int(std::span<const std::string> arguments)> run;
};

const std::vector<Command>& commands();

}  // namespace app
