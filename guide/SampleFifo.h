#pragma once
// The samples' way from the capture to the guide's worker: a ring that one
// thread writes and one other thread reads, without a lock. The writer never
// waits: when the reader has fallen a whole ring behind, what does not fit is
// dropped and counted, so the reader knows the stream has a gap.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

namespace guide {

class SampleFifo {
public:
    // 1.2 s at the capture rate: far more than the worker ever lags.
    static constexpr size_t kCapacity = 16384;

    // Runs on the writing thread: copies in as much of `samples` as fits.
    void write(std::span<const int16_t> samples);
    // Runs on the reading thread: how many samples wait to be read.
    size_t available() const;
    // Runs on the reading thread: takes the next out.size() samples, which
    // must be available.
    void read(std::span<int16_t> out);
    // Any thread: samples written so far, those dropped left out.
    uint64_t written() const { return written_.load(std::memory_order_acquire); }
    // Any thread: samples dropped so far because the ring was full.
    uint64_t dropped() const { return dropped_.load(std::memory_order_acquire); }

private:
    std::array<int16_t, kCapacity> ring_{};
    std::atomic<uint64_t> written_{0};
    std::atomic<uint64_t> read_{0};
    std::atomic<uint64_t> dropped_{0};
};

}  // namespace guide
