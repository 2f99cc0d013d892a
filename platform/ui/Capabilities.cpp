#include "platform/ui/Capabilities.h"

#include <mutex>

namespace platform {
namespace {

std::mutex& capabilitiesMutex() {
    static std::mutex mutex;
    return mutex;
}

PlatformCapabilities& current() {
    static PlatformCapabilities offered;
    return offered;
}

}  // namespace

PlatformCapabilities capabilities() {
    std::lock_guard lock(capabilitiesMutex());
    return current();
}

void setCapabilities(const PlatformCapabilities& offered) {
    std::lock_guard lock(capabilitiesMutex());
    current() = offered;
}

}  // namespace platform
