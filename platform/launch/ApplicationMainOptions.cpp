#include "platform/launch/ApplicationMainOptions.h"

#include <charconv>
#include <cmath>
#include <vector>

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

std::optional<double> positiveNumber(const std::string& text) {
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

ParsedLaunchOptions parseLaunchOptions(std::span<const std::string> arguments) {
    ParsedLaunchOptions parsed;
    LaunchOptions& options = parsed.options;
    options.device.userInterfaceIdiom = Device::kIdiomPhone;
    options.device.screenHeight = kDefaultPhoneHeight;
    options.device.screenWidth = screenWidthFor(Device::kIdiomPhone, kDefaultPhoneHeight);

    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string option = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = option.find('='); option.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.resize(equals);
        }
        const bool takesValue = option == "--input" || option == "--seconds" || option == "--screen";
        if (takesValue && !value) {
            if (i + 1 == arguments.size()) {
                parsed.error = option + " needs a value";
                return parsed;
            }
            value = arguments[++i];
        } else if (!takesValue && value) {
            parsed.error = option + " takes no value";
            return parsed;
        }

        if (option == "--help" || option == "-h") {
            options.request = LaunchOptions::Request::Help;
            return parsed;
        } else if (option == "--version") {
            options.request = LaunchOptions::Request::Version;
            return parsed;
        } else if (option == "--headless") {
            options.headless = true;
        } else if (option == "--fast") {
            options.fast = true;
        } else if (option == "--input") {
            if (value->empty()) {
                parsed.error = "--input needs a file";
                return parsed;
            }
            options.input = *value;
        } else if (option == "--seconds") {
            options.seconds = positiveNumber(*value);
            if (!options.seconds) {
                parsed.error = "--seconds needs a number of seconds above 0, not \"" + *value + "\"";
                return parsed;
            }
        } else if (option == "--screen") {
            if (!parseScreen(*value, options.device)) {
                parsed.error = "--screen needs phone:HEIGHT or tablet:HEIGHT in points, not \"" + *value + "\"";
                return parsed;
            }
        } else {
            parsed.error = "unknown option \"" + arguments[i] + "\"";
            return parsed;
        }
    }
    if (options.fast && !options.input) parsed.error = "--fast needs --input";
    return parsed;
}

std::string launchOptionsHelp() {
    return "Options:\n"
           "  --input FILE       a recording (WAV, FLAC, MP3, ...) stands in for the microphone;\n"
           "                     the run ends shortly after the recording does\n"
           "  --headless         show the screen on the console: one line per change\n"
           "  --fast             with --input: the clock and the recording go as fast as the\n"
           "                     machine does, so the screen sees what it would in real time\n"
           "  --seconds S        end after S seconds\n"
           "  --screen CLASS:H   the screen class, phone or tablet, and its height in points,\n"
           "                     e.g. phone:667 or tablet:1194 (default phone:844)\n"
           "  --help             show this text and exit\n"
           "  --version          show the version and exit\n";
}

}  // namespace platform
