#include "platform/ui/qt/RunLoopPump.h"

#include <QThread>
#include <algorithm>
#include <cmath>

namespace platform::ui::qt {
namespace {

// A virtual clock moves on by the tuner's tick per turn of Qt's loop, so the
// window stays responsive while time runs fast.
constexpr double kVirtualStepSeconds = 0.01;
// With nothing scheduled, look again after this long.
constexpr int kIdleMilliseconds = 1000;
// How late a timer already set may fire for the next item rather than be set again.
constexpr int kLateMilliseconds = 1;

}  // namespace

RunLoopPump::RunLoopPump(RunLoop& loop, std::optional<double> seconds, std::function<void()> quit)
    : loop_(loop), seconds_(seconds), quit_(std::move(quit)), target_(std::make_shared<Target>()) {
    // Repeating: it goes on at the same wait until a turn needs another.
    timer_.setSingleShot(false);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { pump(); });
    target_->pump = this;
    loop_.setWakeUpHandler([target = target_] {
        std::lock_guard lock(target->mutex);
        RunLoopPump* pump = target->pump;
        // Items scheduled on the loop's own thread are seen when the pump re-arms.
        if (!pump || QThread::currentThread() == pump->thread()) return;
        QMetaObject::invokeMethod(pump, [pump] { pump->pump(); }, Qt::QueuedConnection);
    });
}

RunLoopPump::~RunLoopPump() {
    loop_.setWakeUpHandler({});
    std::lock_guard lock(target_->mutex);
    target_->pump = nullptr;
}

void RunLoopPump::start() { timer_.start(0); }

void RunLoopPump::pump() {
    if (loop_.isVirtual()) {
        const double left = seconds_ ? *seconds_ - loop_.elapsed() : kVirtualStepSeconds;
        if (left <= 0.0) {
            timer_.stop();
            quit_();
            return;
        }
        loop_.advance(std::min(kVirtualStepSeconds, left));
        if (!timer_.isActive() || timer_.interval() != 0) timer_.start(0);
        return;
    }
    const std::optional<double> next = loop_.runDueItems();
    const int wait = std::clamp(next ? static_cast<int>(std::ceil(*next * 1000.0)) : kIdleMilliseconds, 0,
                                kIdleMilliseconds);
    // A steady tick finds its timer already due about then: re-arming it on
    // every turn would cost more than the tick itself. The timer may fire up
    // to a millisecond after the wait, as the wait itself is rounded up; never
    // before it, which would only wake the loop to find nothing due.
    if (timer_.isActive()) {
        const int remaining = timer_.remainingTime();
        if (remaining >= wait && remaining <= wait + kLateMilliseconds) return;
    }
    timer_.start(wait);
}

}  // namespace platform::ui::qt
