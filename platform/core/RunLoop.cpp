#include "platform/core/RunLoop.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<std::shared_ptr<RunLoop>>& mainSlot() {
    static Installed<std::shared_ptr<RunLoop>> loop([] { return std::make_shared<RunLoop>(RunLoop::Clock::Real); });
    return loop;
}

double wallClockNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

RunLoop::RunLoop(Clock clock, double virtualStartDate, Dates dates)
    : clock_(clock),
      dates_(dates),
      startDate_(clock == Clock::Virtual ? virtualStartDate : wallClockNow()),
      realStart_(std::chrono::steady_clock::now()),
      virtualNow_(virtualStartDate) {}

RunLoop::~RunLoop() = default;

std::shared_ptr<RunLoop> RunLoop::main() { return mainSlot().get(); }

void RunLoop::setMain(std::shared_ptr<RunLoop> loop) { mainSlot().installOrDefault(std::move(loop)); }

double RunLoop::now() const {
    if (clock_ == Clock::Virtual) return virtualNow_.load(std::memory_order_relaxed);
    return startDate_ + std::chrono::duration<double>(std::chrono::steady_clock::now() - realStart_).count();
}

double RunLoop::date() const { return dates_ == Dates::WallClock ? wallClockNow() : now(); }

void RunLoop::schedule(double due, std::function<void()> action, std::shared_ptr<Timer> timer) {
    std::function<void()> wakeUp;
    {
        std::lock_guard lock(mutex_);
        push(due, std::move(action), std::move(timer));
        wakeUp = wakeUpHandler_;
    }
    wake_.notify_all();
    if (wakeUp) wakeUp();
}

void RunLoop::push(double due, std::function<void()> action, std::shared_ptr<Timer> timer) {
    items_.push(Item{due, nextSequence_++, std::move(action), std::move(timer)});
}

void RunLoop::setItemObserver(std::function<void()> observer) { itemObserver_ = std::move(observer); }

void RunLoop::setWakeUpHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    wakeUpHandler_ = std::move(handler);
}

std::shared_ptr<Timer> RunLoop::scheduleRepeating(double interval, std::function<void()> action) {
    auto timer = std::shared_ptr<Timer>(new Timer(interval));
    schedule(now() + interval, std::move(action), timer);
    return timer;
}

void RunLoop::performAfterDelay(double delay, std::function<void()> action) {
    schedule(now() + std::max(0.0, delay), std::move(action), nullptr);
}

void RunLoop::dispatchAsync(std::function<void()> action) { schedule(now(), std::move(action), nullptr); }

std::optional<RunLoop::Item> RunLoop::popDue(double limit) {
    std::lock_guard lock(mutex_);
    if (items_.empty() || items_.top().due > limit) return std::nullopt;
    // Moved out rather than copied: the heap orders by due time and sequence,
    // which a move leaves in place for pop() to compare.
    Item item = std::move(const_cast<Item&>(items_.top()));
    items_.pop();
    return item;
}

void RunLoop::runItem(Item item) {
    if (item.timer && !item.timer->isValid()) return;
    item.action();
    if (itemObserver_) itemObserver_();
    if (!item.timer || !item.timer->isValid()) return;
    // A repeating timer keeps its rhythm; on a real clock, firings missed while
    // the loop was busy are skipped rather than run in a burst.
    double next = item.due + item.timer->timeInterval();
    if (clock_ == Clock::Real) {
        const double current = now();
        while (next <= current) next += item.timer->timeInterval();
    }
    // Set on the loop's own thread, between two items: whoever drives the
    // loop looks at what is next once the items due have run, so no wake-up
    // is needed (and a tick would otherwise pay for one every time).
    std::lock_guard lock(mutex_);
    push(next, std::move(item.action), std::move(item.timer));
}

void RunLoop::advance(double seconds) {
    const double target = now() + seconds;
    while (auto item = popDue(target)) {
        if (clock_ == Clock::Virtual && item->due > now()) {
            virtualNow_.store(item->due, std::memory_order_relaxed);
        }
        runItem(std::move(*item));
    }
    if (clock_ == Clock::Virtual) virtualNow_.store(target, std::memory_order_relaxed);
}

std::optional<double> RunLoop::runDueItems() {
    const double current = now();
    while (auto item = popDue(current)) runItem(std::move(*item));
    std::lock_guard lock(mutex_);
    if (items_.empty()) return std::nullopt;
    return std::max(0.0, items_.top().due - now());
}

void RunLoop::run(std::optional<double> seconds) {
    const double deadline = seconds ? now() + *seconds : 0.0;
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = false;
    }
    for (;;) {
        if (clock_ == Clock::Virtual) {
            advance(seconds.value_or(0.0));
            return;
        }
        const std::optional<double> untilNext = runDueItems();
        double wait = untilNext.value_or(0.1);
        if (seconds) {
            const double left = deadline - now();
            if (left <= 0) return;
            wait = std::min(wait, left);
        }
        std::unique_lock lock(mutex_);
        if (stopRequested_) return;
        wake_.wait_for(lock, std::chrono::duration<double>(wait), [&] {
            return stopRequested_ || (!items_.empty() && items_.top().due <= now());
        });
        if (stopRequested_) return;
    }
}

void RunLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
}

}  // namespace platform
