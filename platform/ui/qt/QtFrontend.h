#pragma once
// The desktop window frontend, for the desktop set-up, which loads it as a
// module of the program. Plain C++: the Qt types stay inside platform_ui_qt.

#include <cstdlib>
#include <memory>

#include "platform/ui/Frontend.h"

namespace platform::ui::qt {

// Opens the window frontend when a display can be opened (a Wayland or X
// display, or the platform QT_QPA_PLATFORM names); null otherwise, having
// printed nothing. It installs the xdg-open address opener and keeps the screen
// awake while the idle timer is disabled.
std::unique_ptr<Frontend> openWindowFrontend();

// Whether the environment names a display a window could open on (a Wayland
// or X display, or the platform QT_QPA_PLATFORM names). Without one, no
// window is tried and Qt is never loaded.
inline bool displayNamed() {
    return std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

// The window module's entry point, by the name the desktop set-up looks up
// when it loads the module: what openWindowFrontend() answers, handed over.
extern "C" Frontend* pallqaOpenWindowFrontend();
inline constexpr char kOpenWindowFrontendEntry[] = "pallqaOpenWindowFrontend";

}  // namespace platform::ui::qt
