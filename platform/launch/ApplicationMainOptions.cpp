#include "platform/launch/ApplicationMainOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "platform/core/Bundle.h"
#include "platform/core/TerminalText.h"

namespace platform {
namespace {

struct KnownScreen {
    int64_t idiom;
    double height;
    double width;
};

// Real devices, in points.
const std::vector<KnownScreen> kKnownScreens = {
    {Device::kIdiomPhone, 480, 320},    {Device::kIdiomPhone, 568, 320},    {Device::kIdiomPhone, 667, 375},
    {Device::kIdiomPhone, 736, 414},    {Device::kIdiomPhone, 812, 375},    {Device::kIdiomPhone, 844, 390},
    {Device::kIdiomPhone, 852, 393},    {Device::kIdiomPhone, 874, 402},    {Device::kIdiomPhone, 896, 414},
    {Device::kIdiomPhone, 912, 420},    {Device::kIdiomPhone, 926, 428},    {Device::kIdiomPhone, 932, 430},
    {Device::kIdiomPhone, 956, 440},    {Device::kIdiomTablet, 1024, 768},  {Device::kIdiomTablet, 1080, 810},
    {Device::kIdiomTablet, 1112, 834},  {Device::kIdiomTablet, 1133, 744},  {Device::kIdiomTablet, 1180, 820},
    {Device::kIdiomTablet, 1194, 834},  {Device::kIdiomTablet, 1210, 834},  {Device::kIdiomTablet, 1366, 1024},
    {Device::kIdiomTablet, 1376, 1032},
};

constexpr double kDefaultPhoneHeight = 844.0;

// A number written with a point, or with the decimal separator of the user's language.
std::optional<double> positiveNumber(std::string text) {
    std::replace(text.begin(), text.end(), Bundle::mainBundle()->decimalSeparator(), '.');
    double value = 0.0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value) || value <= 0.0) return std::nullopt;
    return value;
}

bool parseScreen(const std::string& text, DeviceDescription& device) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return false;
    const std::string family = text.substr(0, colon);
    const auto height = positiveNumber(text.substr(colon + 1));
    if (!height) return false;
    if (family == "phone") {
        device.userInterfaceIdiom = Device::kIdiomPhone;
    } else if (family == "tablet") {
        device.userInterfaceIdiom = Device::kIdiomTablet;
    } else {
        return false;
    }
    device.screenHeight = *height;
    device.screenWidth = screenWidthFor(device.userInterfaceIdiom, *height);
    return true;
}

}  // namespace

double screenWidthFor(int64_t idiom, double height) {
    const KnownScreen* nearest = nullptr;
    for (const auto& screen : kKnownScreens) {
        if (screen.idiom != idiom) continue;
        if (!nearest || std::abs(screen.height - height) < std::abs(nearest->height - height)) nearest = &screen;
    }
    return nearest ? nearest->width : height / 2.0;
}

void LaunchOptionsReader::declare(CLI::App& program) {
    inputOption_ = program.add_option("--input", input_,
                                      terminalText("a recording (WAV, FLAC, MP3, ...) stands in for the microphone; "
                                                   "the run ends shortly after the recording does"))
                       ->type_name(terminalText("FILE"));
    program.add_flag("--headless", headless_, terminalText("show the screen on the console: one line per change"))
        ->disable_flag_override();
    program
        .add_flag("--fast", fast_,
                  terminalText("with --input: the clock and the recording go as fast as the machine does, "
                               "so the screen sees what it would in real time"))
        ->disable_flag_override();
    secondsOption_ = program.add_option("--seconds", seconds_, terminalText("end after S seconds"))->type_name("S");
    screenOption_ = program
                        .add_option("--screen", screen_,
                                    terminalText("the screen class, phone or tablet, and its height in points, "
                                                 "e.g. phone:667 or tablet:1194 (default phone:844)"))
                        ->type_name(terminalText("CLASS:H"));
    program
        .add_flag("--verbose", verbose_,
                  terminalText("also show the log on stderr (it is always kept in "
                               "$XDG_STATE_HOME/pallqa-tuner/pallqa-tuner.log)"))
        ->disable_flag_override();
    program
        .add_flag("--list-devices", listDevices_,
                  terminalText("list the audio inputs and outputs, the defaults marked, and end"))
        ->disable_flag_override();
    inputDeviceOption_ = program.add_option("--input-device", inputDevice_,
                                            terminalText("the microphone, by name or a part of it (see --list-devices)"))
                             ->type_name(terminalText("NAME"));
    outputDeviceOption_ =
        program.add_option("--output-device", outputDevice_,
                           terminalText("the loudspeaker, by name or a part of it (see --list-devices)"))
            ->type_name(terminalText("NAME"));
}

std::string LaunchOptionsReader::read(LaunchOptions& options) const {
    options = LaunchOptions{};
    options.device.userInterfaceIdiom = Device::kIdiomPhone;
    options.device.screenHeight = kDefaultPhoneHeight;
    options.device.screenWidth = screenWidthFor(Device::kIdiomPhone, kDefaultPhoneHeight);
    options.headless = headless_;
    options.fast = fast_;
    options.verbose = verbose_;
    if (inputOption_->count() > 0) {
        if (input_.empty()) return terminalText("--input needs a file");
        options.input = input_;
    }
    if (secondsOption_->count() > 0) {
        options.seconds = positiveNumber(seconds_);
        if (!options.seconds) return terminalText("--seconds needs a number of seconds above 0, not \"%@\"", seconds_);
    }
    if (screenOption_->count() > 0 && !parseScreen(screen_, options.device)) {
        return terminalText("--screen needs phone:HEIGHT or tablet:HEIGHT in points, not \"%@\"", screen_);
    }
    options.listDevices = listDevices_;
    if (inputDeviceOption_->count() > 0) {
        if (inputDevice_.empty()) return terminalText("--input-device needs a device name");
        options.inputDevice = inputDevice_;
    }
    if (outputDeviceOption_->count() > 0) {
        if (outputDevice_.empty()) return terminalText("--output-device needs a device name");
        options.outputDevice = outputDevice_;
    }
    if (options.fast && !options.input) return terminalText("--fast needs --input");
    return {};
}

}  // namespace platform
