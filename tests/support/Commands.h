#pragma once
// Runs one of the program's commands in the test's process, as
// `pallqa-tuner NAME ARGUMENTS...` would, with its output captured.

#include <ostream>
#include <string>
#include <vector>

#include "platform/launch/CommandLine.h"

namespace testing_support {

inline int runCommand(const platform::CommandDefinition& command, const std::vector<std::string>& arguments,
                      std::ostream& out, std::ostream& err) {
    std::vector<std::string> line{command.name};
    line.insert(line.end(), arguments.begin(), arguments.end());
    const auto request = platform::readCommandLine(line, {command}, "", out, err);
    return request.kind == platform::CommandLineRequest::Kind::RunCommand ? request.command(out, err)
                                                                          : request.exitStatus;
}

}  // namespace testing_support
