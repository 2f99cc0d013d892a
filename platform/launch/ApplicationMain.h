#pragma once
// The platform's application main: it reads the platform's own options, puts
// the platform services in place (the screen class, the settings file, the main
// run loop, a frontend, the sound), creates the application's delegate by name,
// tells it that launching has finished, shows the first screen and runs the
// loop until the run ends.
//
// The desktop's pieces (the window, the audio devices) live in libraries of
// their own; the desktop room (platform/desktop) hands them in through
// ApplicationTables, so this part needs nothing but the plain platform.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/launch/ApplicationMainOptions.h"
#include "platform/launch/CommandLine.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/Frontend.h"

namespace platform {

// What the sound set-up chose, as far as the run is concerned.
struct AudioChoice {
    // The length of the --input recording when it is known.
    std::optional<double> inputSeconds;
    // Why the options' sound cannot be had (an unreadable --input, say); the
    // run does not start then.
    std::string error;
    // The run ends before it starts with this status: 0 once the devices are
    // listed, 2 when a device named on the command line is not there.
    std::optional<int> endStatus{};
    // Whether the --input recording has failed since the set-up (no queue
    // could hear it); the run then ends at once with status 1.
    std::function<bool()> inputFailed{};
};

using DelegateFactory = std::function<std::shared_ptr<ApplicationDelegate>()>;

struct ApplicationTables {
    // Delegate classes by name, e.g. "AppDelegate".
    std::map<std::string, DelegateFactory> delegates;
    // The text of --version, e.g. "pallqa-tuner 1.0.0\n".
    std::string version;
    // The program's commands, run instead of the application when one is named.
    std::vector<CommandDefinition> commands;
    // The application's own options, handed to its delegate in the launch options.
    ApplicationOptions applicationOptions;
    // Opens the desktop window; null (or unset) when no display can be opened.
    // A std::runtime_error says why a named display gets no window (its
    // module is missing, say); the program then ends with that reason.
    std::function<std::unique_ptr<Frontend>(const LaunchOptions&)> openWindow;
    // Installs the audio services the options call for.
    std::function<AudioChoice(const LaunchOptions&)> setUpAudio;
};

// How long the program runs on after the --input recording has ended, so the
// screen settles after the last sound.
inline constexpr double kSecondsAfterRecording = 1.0;

// argv[0] is the program; the rest are the platform's options or a command
// with its arguments. Answers the exit status: a command's own; 0 after a run,
// --help or --version; 2 for a command line that cannot be read (named on
// stderr); 1 when the delegate class is unknown, the sound cannot be had, the
// --input recording failed or the run cannot end.
int UIApplicationMain(int argc, char** argv, const std::string& delegateClassName, const ApplicationTables& tables);

}  // namespace platform
