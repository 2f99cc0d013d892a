#pragma once
// The platform's own command-line options, read before the system starts:
// where the sound comes from, which frontend shows the screen, how the clock
// runs, how long the run lasts and which class of screen the program is.

#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "platform/core/Device.h"

namespace platform {

struct LaunchOptions {
    enum class Request { Run, Help, Version };
    Request request = Request::Run;
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
};

struct ParsedLaunchOptions {
    LaunchOptions options;
    std::string error;  // empty when the arguments are sound
};

// Reads the arguments after the program's name.
ParsedLaunchOptions parseLaunchOptions(std::span<const std::string> arguments);

// The width in points of a screen of this class and height: the real device's
// where there is one, else that of the nearest taller or shorter one.
double screenWidthFor(int64_t idiom, double height);

// The options part of --help.
std::string launchOptionsHelp();

}  // namespace platform
