#include "guide/OnsetTracker.h"

#include <algorithm>
#include <cstdlib>

namespace guide {
namespace {

constexpr double kFullScale = 32768.0;
constexpr double kFloorEnergy = OnsetTracker::kFloorLevel * OnsetTracker::kFloorLevel * kFullScale * kFullScale;

}  // namespace

void OnsetTracker::take(std::span<const int16_t> samples, uint64_t first) {
    for (size_t i = 0; i < samples.size(); ++i) {
        samples_[kBlockSamples + blockFilled_] = samples[i];
        if (++blockFilled_ == kBlockSamples) closeBlock(first + i + 1 - kBlockSamples);
    }
}

void OnsetTracker::closeBlock(uint64_t blockStart) {
    double sum = 0.0;
    for (size_t i = kBlockSamples; i < samples_.size(); ++i) sum += static_cast<double>(samples_[i]) * samples_[i];
    const double energy = sum / static_cast<double>(kBlockSamples);
    const double before = *std::max_element(energies_.begin(), energies_.end());
    if (energy > kFloorEnergy && energy > kRise * before) onset_ = startOfRise(blockStart);
    energies_[nextSlot_] = energy;
    nextSlot_ = (nextSlot_ + 1) % kMemoryBlocks;
    std::copy(samples_.begin() + kBlockSamples, samples_.end(), samples_.begin());
    blockFilled_ = 0;
}

uint64_t OnsetTracker::startOfRise(uint64_t blockStart) const {
    const auto magnitude = [](int16_t sample) { return std::abs(static_cast<int>(sample)); };
    int peak = 0;
    for (size_t i = kBlockSamples; i < samples_.size(); ++i) peak = std::max(peak, magnitude(samples_[i]));
    const double threshold = kStartOfPeak * peak;
    // The block before is in the stream only past its start.
    const size_t from = blockStart >= kBlockSamples ? 0 : kBlockSamples;
    for (size_t i = from; i < samples_.size(); ++i) {
        if (magnitude(samples_[i]) >= threshold) return blockStart + i - kBlockSamples;
    }
    return blockStart;
}

void OnsetTracker::restart() { *this = OnsetTracker{}; }

}  // namespace guide
