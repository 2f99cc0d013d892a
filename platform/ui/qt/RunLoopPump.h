#pragma once
// Drives the main run loop from Qt's event loop: a timer runs what is due and
// is set for the next item (left running when the wait stays the same); work posted from another thread wakes it.
// With a virtual clock it moves time on in small steps as fast as the machine
// goes, and quits when `seconds` have passed. Private to platform_ui_qt.

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/core/RunLoop.h"

namespace platform::ui::qt {

class RunLoopPump : public QObject {
public:
    RunLoopPump(RunLoop& loop, std::optional<double> seconds, std::function<void()> quit);
    ~RunLoopPump() override;
    RunLoopPump(const RunLoopPump&) = delete;
    RunLoopPump& operator=(const RunLoopPump&) = delete;

    void start();

private:
    // The pump as other threads see it, gone once the pump is.
    struct Target {
        std::mutex mutex;
        RunLoopPump* pump = nullptr;
    };

    void pump();

    RunLoop& loop_;
    const std::optional<double> seconds_;
    const std::function<void()> quit_;
    QTimer timer_;
    std::shared_ptr<Target> target_;
};

}  // namespace platform::ui::qt
