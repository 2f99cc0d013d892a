#pragma once
// The platform's own command-line options, read before the system starts:
// where the sound comes from, which frontend shows the screen, how the clock
// runs, how long the run lasts, which class of screen the program is and
// whether its log shows on the terminal; beside them, what the application's
// own options were given, for its delegate.

#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "platform/core/Device.h"
#include "platform/ui/ApplicationDelegate.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace platform {

struct LaunchOptions {
    // A recording that stands in for the microphone.
    std::optional<std::filesystem::path> input;
    // The console frontend even where a display is available.
    bool headless = false;
    // A virtual clock that advances as fast as the machine goes (needs `input`).
    bool fast = false;
    // End after this many seconds of the clock.
    std::optional<double> seconds;
    // The screen class, the desktop's default being a phone 844 points high.
    DeviceDescription device;
    // The log on stderr too, besides its file.
    bool verbose = false;
    // List the audio devices instead of running.
    bool listDevices = false;
    // The microphone and the loudspeaker, by name or a part of it.
    std::optional<std::string> inputDevice;
    std::optional<std::string> outputDevice;
    // The application's own options, as its delegate receives them ("course": "3").
    LaunchOptionsDictionary application;
};

// The options as the command line gives them, before they are checked.
class LaunchOptionsReader {
public:
    // Declares the platform's options on the program's command line.
    void declare(CLI::App& program);
    // The checked options; answers what is wrong with them, or nothing.
    std::string read(LaunchOptions& options) const;

private:
    std::string input_;
    bool headless_ = false;
    bool fast_ = false;
    bool verbose_ = false;
    std::string seconds_;
    std::string screen_;
    bool listDevices_ = false;
    std::string inputDevice_;
    std::string outputDevice_;
    // Whether each valued option was given at all (an empty value is a mistake).
    const CLI::Option* inputOption_ = nullptr;
    const CLI::Option* secondsOption_ = nullptr;
    const CLI::Option* screenOption_ = nullptr;
    const CLI::Option* inputDeviceOption_ = nullptr;
    const CLI::Option* outputDeviceOption_ = nullptr;
};

struct ParsedLaunchOptions {
    LaunchOptions options;
    std::string error;  // empty when the arguments are sound
};

// Reads the arguments after the program's name when they hold only options.
ParsedLaunchOptions parseLaunchOptions(std::span<const std::string> arguments);

// The width in points of a screen of this class and height: the real device's
// where there is one, else that of the nearest taller or shorter one.
double screenWidthFor(int64_t idiom, double height);

}  // namespace platform
