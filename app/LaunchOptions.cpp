#include "app/LaunchOptions.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <string>

#include "app/WholeNumberOption.h"
#include "platform/core/TerminalText.h"
#include "sound/Courses.h"

namespace app {
namespace {

constexpr const char* kCourse = "course";
constexpr int kCourses = static_cast<int>(sound::kCourses.size());

}  // namespace

void declareLaunchOptions(CLI::App& program, platform::LaunchOptionsDictionary& given) {
    program
        .add_option_function<int>(
            "--course", [&given](int course) { given[kCourse] = std::to_string(course); },
            platform::terminalText("the guide starts locked on course N: it reads every string as that course, however "
                                   "far from its pitch (up to an octave either way); Auto, 0 or Escape releases it"))
        ->type_name("N")
        ->check(wholeNumberBetween(1, kCourses, "INT"));
}

std::optional<int> courseToLock(const platform::LaunchOptionsDictionary& launchOptions) {
    const auto found = launchOptions.find(kCourse);
    if (found == launchOptions.end()) return std::nullopt;
    const std::string& text = found->second;
    int course = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), course);
    if (error != std::errc() || end != text.data() + text.size() || course < 1 || course > kCourses) {
        return std::nullopt;
    }
    return course;
}

}  // namespace app
