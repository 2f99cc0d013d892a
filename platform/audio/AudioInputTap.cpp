#include "platform/audio/AudioInputTap.h"

#include <array>
#include <atomic>
#include <mutex>
#include <thread>

#include "platform/core/Installed.h"

namespace platform {
namespace {

// Two slots, the one in use named by an atomic index, and a count of the calls
// running: a call counts itself in before it reads the index, so an installer
// that has switched the index and then sees no call running knows that none
// still uses the slot it left, which the next install may then fill. The
// hand-over thread never waits; only installers do, for one another and for
// a call already running.
class TapSlots {
public:
    TapSlots() {
        detail::signIn(this, [](void* slots) { static_cast<TapSlots*>(slots)->install({}); });
    }
    ~TapSlots() { detail::signOut(this); }

    void install(AudioInputTap tap) {
        std::lock_guard lock(installing_);
        const unsigned next = 1 - inUse_.load(std::memory_order_relaxed);
        slots_[next] = tap;
        inUse_.store(next);
        while (running_.load() != 0) std::this_thread::yield();
    }

    void call(std::span<const int16_t> samples) {
        running_.fetch_add(1);
        const AudioInputTap& tap = slots_[inUse_.load()];
        if (tap.block != nullptr) tap.block(tap.userData, samples);
        running_.fetch_sub(1);
    }

private:
    std::mutex installing_;
    std::array<AudioInputTap, 2> slots_{};
    std::atomic<unsigned> inUse_{0};
    std::atomic<unsigned> running_{0};
};

TapSlots& tapSlots() {
    static TapSlots slots;
    return slots;
}

}  // namespace

void installAudioInputTap(AudioInputTap tap) { tapSlots().install(tap); }

void tapAudioInput(std::span<const int16_t> samples) { tapSlots().call(samples); }

}  // namespace platform
