#include "platform/core/Device.h"

namespace platform {
namespace {

DeviceDescription& description() {
    static DeviceDescription current;
    return current;
}

}  // namespace

const DeviceDescription& Device::current() { return description(); }

void Device::setCurrent(DeviceDescription newDescription) { description() = std::move(newDescription); }

}  // namespace platform
