#pragma once
// Keeps the desktop's screen saver away while asked to, through the
// freedesktop ScreenSaver service on the session bus. Where there is no such
// service (or no D-Bus), it does nothing. Private to platform_ui_qt; main thread.

#include <cstdint>
#include <memory>

namespace platform::ui::qt {

class ScreenAwake {
public:
    ScreenAwake();
    ~ScreenAwake();  // lets the screen sleep again
    ScreenAwake(const ScreenAwake&) = delete;
    ScreenAwake& operator=(const ScreenAwake&) = delete;

    void keepAwake(bool awake);

private:
    struct State;
    std::shared_ptr<State> state_;  // shared with replies still on their way
};

}  // namespace platform::ui::qt
