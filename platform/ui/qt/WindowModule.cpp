// The window module's entry point (cmake/Modules.cmake): the only name the
// program looks up in it.
#include "platform/ui/qt/QtFrontend.h"

extern "C" platform::Frontend* pallqaOpenWindowFrontend() {
    return platform::ui::qt::openWindowFrontend().release();
}
