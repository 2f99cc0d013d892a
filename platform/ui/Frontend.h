#pragma once
// What shows the key window and drives the main loop: the console frontend of
// the launch room, or a desktop window.

#include <optional>

#include "platform/core/RunLoop.h"
#include "platform/ui/ApplicationDelegate.h"

namespace platform {

class Frontend {
public:
    virtual ~Frontend() = default;
    // Shows the screen as launching left it, then drives `loop` until `seconds`
    // of its clock have passed (without end when none) or the user quits;
    // answers the exit status. Tells `delegate` of activation changes.
    virtual int run(RunLoop& loop, ApplicationDelegate& delegate, std::optional<double> seconds) = 0;
};

}  // namespace platform
