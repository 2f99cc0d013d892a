#pragma once
// The device the program runs as: its interface idiom (0 phone, 1 tablet, other
// values possible), its main screen's bounds in points and the system version.
// Set once at start-up by the platform; tests set them freely.

#include <cstdint>
#include <string>

#include "platform/core/Geometry.h"

namespace platform {

struct DeviceDescription {
    int64_t userInterfaceIdiom = 0;
    double screenWidth = 390.0;
    double screenHeight = 844.0;
    std::string systemVersion = "17.0";
};

class Device {
public:
    static constexpr int64_t kIdiomPhone = 0;
    static constexpr int64_t kIdiomTablet = 1;

    // Any thread.
    static DeviceDescription current();
    static void setCurrent(DeviceDescription description);

    static int64_t userInterfaceIdiom() { return current().userInterfaceIdiom; }
    static std::string systemVersion() { return current().systemVersion; }
};

class Screen {
public:
    static Rect mainBounds() {
        const DeviceDescription device = Device::current();
        return {0.0, 0.0, device.screenWidth, device.screenHeight};
    }
    static double mainBoundsHeight() { return Device::current().screenHeight; }
};

}  // namespace platform
