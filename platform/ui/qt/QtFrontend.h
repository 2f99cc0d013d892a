#pragma once
// The desktop window frontend, for the desktop set-up. Plain C++: the Qt types
// stay inside platform_ui_qt.

#include <memory>

#include "platform/ui/Frontend.h"

namespace platform::ui::qt {

// Opens the window frontend when a display can be opened (a Wayland or X
// display, or the platform QT_QPA_PLATFORM names); null otherwise, having
// printed nothing. It installs the xdg-open address opener and keeps the screen
// awake while the idle timer is disabled.
std::unique_ptr<Frontend> openWindowFrontend();

}  // namespace platform::ui::qt
