#pragma once
// The program's one command line: the platform's own options and every
// command of the program, read by one parser with one syntax (`--opt value`
// and `--opt=value`). `--help` answers on stdout with exit 0, at the top and
// after any command; a mistake is named on stderr with exit 2.

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "platform/launch/ApplicationMainOptions.h"

namespace CLI {
class App;
}

namespace platform {

// Runs a command once its arguments are read; answers the exit status.
using CommandRunner = std::function<int(std::ostream& out, std::ostream& err)>;

// A command of the program beside the application itself (`analyze`, `tone` ...).
struct CommandDefinition {
    std::string name;
    std::string summary;  // one line, shown in the program's --help
    // Declares the command's arguments on `command` and answers what runs once
    // they are read. Values are checked by the runner, which says what is wrong
    // on `err` and answers 2.
    std::function<CommandRunner(CLI::App& command)> define;
};

// Declares the application's own options on the program's command line, each
// writing what the user gives into `given`, which its delegate receives as
// its launch options. Each checks its value as the parser reads it.
using ApplicationOptions = std::function<void(CLI::App& program, LaunchOptionsDictionary& given)>;

// What the command line asks for.
struct CommandLineRequest {
    enum class Kind { RunApplication, RunCommand, Exit };
    Kind kind = Kind::Exit;
    LaunchOptions options;  // for RunApplication
    CommandRunner command;  // for RunCommand
    int exitStatus = 0;     // for Exit: help, version or a mistake, already shown
};

// The exit status of a command line that cannot be read.
inline constexpr int kUsageError = 2;

// Reads the arguments after the program's name, the application's own
// options among the platform's. Help, the version and mistakes are written to
// `out` or `err` here and answered as Exit.
CommandLineRequest readCommandLine(std::span<const std::string> arguments,
                                   const std::vector<CommandDefinition>& commands, const std::string& version,
                                   std::ostream& out, std::ostream& err,
                                   const ApplicationOptions& applicationOptions = {});

// The program's whole --help text.
std::string programHelp(const std::vector<CommandDefinition>& commands);

}  // namespace platform
