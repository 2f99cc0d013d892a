#include "guide/SampleFifo.h"

#include <algorithm>

namespace guide {

void SampleFifo::write(std::span<const int16_t> samples) {
    const uint64_t written = written_.load(std::memory_order_relaxed);
    const uint64_t free = kCapacity - (written - read_.load(std::memory_order_acquire));
    const size_t count = static_cast<size_t>(std::min<uint64_t>(free, samples.size()));
    for (size_t i = 0; i < count; ++i) ring_[(written + i) % kCapacity] = samples[i];
    if (count < samples.size()) dropped_.fetch_add(samples.size() - count, std::memory_order_release);
    written_.store(written + count, std::memory_order_release);
}

size_t SampleFifo::available() const {
    return static_cast<size_t>(written_.load(std::memory_order_acquire) - read_.load(std::memory_order_relaxed));
}

void SampleFifo::read(std::span<int16_t> out) {
    const uint64_t read = read_.load(std::memory_order_relaxed);
    for (size_t i = 0; i < out.size(); ++i) out[i] = ring_[(read + i) % kCapacity];
    read_.store(read + out.size(), std::memory_order_release);
}

}  // namespace guide
