#pragma once
// The main run loop: repeating timers, one-shot delayed calls and work posted
// from other threads, all run one at a time on the thread that drives the loop.
//
// The clock is either real (a steady clock) or virtual: with a virtual clock
// nothing happens until advance() moves time on, and then every item that falls
// due runs in order of due time, ties in order of scheduling. Dates are seconds
// since 1970, so a virtual clock starts at a fixed, reproducible date.
//
// The dates a program stores (a first use, a reminder) come from date(): the
// loop's own clock, or the wall clock for a loop made with Dates::WallClock (a
// fast run of the program, whose timing alone runs on the virtual clock).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <vector>

namespace platform {

class RunLoop;

// A repeating timer; it runs until invalidated.
class Timer {
public:
    void invalidate() { valid_.store(false, std::memory_order_relaxed); }
    bool isValid() const { return valid_.load(std::memory_order_relaxed); }
    double timeInterval() const { return interval_; }

private:
    friend class RunLoop;
    explicit Timer(double interval) : interval_(interval) {}
    const double interval_;
    std::atomic<bool> valid_{true};
};

class RunLoop {
public:
    enum class Clock { Real, Virtual };
    enum class Dates { OfTheClock, WallClock };
    // 2026-01-01T00:00:00Z: where a virtual clock starts unless told otherwise.
    static constexpr double kVirtualEpoch = 1767225600.0;

    explicit RunLoop(Clock clock, double virtualStartDate = kVirtualEpoch, Dates dates = Dates::OfTheClock);
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // The process's main loop. Until one is installed, a real-clock loop. A
    // caller keeps the loop it was handed for as long as it holds the handle.
    static std::shared_ptr<RunLoop> main();
    static void setMain(std::shared_ptr<RunLoop> loop);

    bool isVirtual() const { return clock_ == Clock::Virtual; }
    // The current date in seconds since 1970; safe from any thread.
    double now() const;
    // The date to store, or to compare with stored dates; safe from any thread.
    double date() const;
    // Seconds since the loop was made.
    double elapsed() const { return now() - startDate_; }

    // Main thread. Runs `action` every `interval` seconds, first after one interval.
    std::shared_ptr<Timer> scheduleRepeating(double interval, std::function<void()> action);
    // Main thread. Runs `action` once after `delay` seconds; never cancelled.
    void performAfterDelay(double delay, std::function<void()> action);
    // Any thread. Runs `action` on the loop's thread as soon as it is driven.
    void dispatchAsync(std::function<void()> action);

    // Virtual clock: moves time on by `seconds`, running everything that falls
    // due on the way, each at its own due time.
    void advance(double seconds);
    // Runs everything already due now (posted work included) and returns the
    // seconds until the next item, or nothing when none is scheduled.
    std::optional<double> runDueItems();
    // Real clock: drives the loop on this thread until stop() or `seconds` pass.
    void run(std::optional<double> seconds = std::nullopt);
    // Any thread: makes run() return.
    void stop();

    // A fast run's time on the wall clock: an input that keeps the loop
    // waiting (a recording read through a stalled pipe) is waited for until
    // then, and no longer. None (the largest time) until set.
    using WallClockTime = std::chrono::steady_clock::time_point;
    void setWallClockLimit(WallClockTime limit) { wallClockLimit_ = limit; }
    WallClockTime wallClockLimit() const { return wallClockLimit_; }

    // Hooks for a frontend that drives the loop; set them before driving it.
    // Called on the loop's thread after each item has run: one screen event ends there.
    void setItemObserver(std::function<void()> observer);
    // Called on the scheduling thread whenever an item is scheduled (but not a
    // repeating timer's next firing, set while the loop runs), so a frontend
    // that waits in an event loop of its own can wake up for work posted from
    // another thread.
    void setWakeUpHandler(std::function<void()> handler);

private:
    struct Item {
        double due;
        uint64_t sequence;
        std::function<void()> action;
        std::shared_ptr<Timer> timer;  // set for repeating timers
        bool operator>(const Item& other) const {
            return due != other.due ? due > other.due : sequence > other.sequence;
        }
    };

    void schedule(double due, std::function<void()> action, std::shared_ptr<Timer> timer);
    // With mutex_ held: puts the item in line without waking the loop.
    void push(double due, std::function<void()> action, std::shared_ptr<Timer> timer);
    // Pops the earliest item due at or before `limit`, if any.
    std::optional<Item> popDue(double limit);
    void runItem(Item item);

    const Clock clock_;
    const Dates dates_;
    const double startDate_;
    const std::chrono::steady_clock::time_point realStart_;
    std::atomic<double> virtualNow_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> items_;
    uint64_t nextSequence_ = 0;
    bool stopRequested_ = false;
    WallClockTime wallClockLimit_ = WallClockTime::max();
    std::function<void()> itemObserver_;
    std::function<void()> wakeUpHandler_;  // guarded by mutex_
};

}  // namespace platform
