#include "platform/ui/Capabilities.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<PlatformCapabilities>& offered() {
    static Installed<PlatformCapabilities> capabilities;
    return capabilities;
}

}  // namespace

PlatformCapabilities capabilities() { return offered().get(); }

void setCapabilities(const PlatformCapabilities& offering) { offered().install(offering); }

}  // namespace platform
