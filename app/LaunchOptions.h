#pragma once
// The application's own options on the program's command line, beside the
// platform's: they reach the application's delegate in its launch options.
//
//     pallqa-tuner --course 3     the guide starts locked on course 3

#include <optional>

#include "platform/ui/ApplicationDelegate.h"

namespace CLI {
class App;
}

namespace app {

// Declares the options on `program`; what the user gives goes into `given`.
void declareLaunchOptions(CLI::App& program, platform::LaunchOptionsDictionary& given);

// The course (1 to 5) the guide starts locked on, or none for the nearest.
std::optional<int> courseToLock(const platform::LaunchOptionsDictionary& launchOptions);

}  // namespace app
