#include "platform/core/Device.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<DeviceDescription>& description() {
    static Installed<DeviceDescription> current;
    return current;
}

}  // namespace

DeviceDescription Device::current() { return description().get(); }

void Device::setCurrent(DeviceDescription newDescription) { description().install(std::move(newDescription)); }

}  // namespace platform
