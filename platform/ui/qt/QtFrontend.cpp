#include "platform/ui/qt/QtFrontend.h"

#include "platform/ui/qt/WindowFrontend.h"

namespace platform::ui::qt {

std::unique_ptr<Frontend> openWindowFrontend() {
    if (!displayNamed()) return nullptr;
    auto frontend = std::make_unique<WindowFrontend>();
    if (!frontend->hasDisplay()) return nullptr;
    return frontend;
}

}  // namespace platform::ui::qt
