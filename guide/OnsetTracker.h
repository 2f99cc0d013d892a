#pragma once
// Where the latest pluck began. The stream is cut into blocks of 128 samples
// (9 ms); a block whose mean energy rises to three times the largest of the
// eight blocks before it (73 ms), above a floor, holds a new sound. The
// memory is long enough that two strings of a course beating against each
// other do not count as a pluck at every swell; the rise is small enough that
// a string plucked while another still rings does.
//
// The sound is then placed to the sample: the first sample, in that block or
// the one before it, that reaches a quarter of the block's peak. A window
// that starts there holds the pluck and none of the quiet before it, which
// would otherwise sit inside the window as a step and smear every partial
// into its neighbours.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace guide {

class OnsetTracker {
public:
    static constexpr size_t kBlockSamples = 128;
    static constexpr size_t kMemoryBlocks = 8;
    static constexpr double kRise = 3.0;
    // -60 dB of full scale: quieter blocks start nothing.
    static constexpr double kFloorLevel = 0.001;
    // Of the block's peak: where the sound is taken to begin.
    static constexpr double kStartOfPeak = 0.25;

    // Takes the stream's next samples; `first` is the position of the first
    // of them in the stream. A block left incomplete is finished by the next call.
    void take(std::span<const int16_t> samples, uint64_t first);
    // The stream position where the latest sound began; none before the first.
    std::optional<uint64_t> latestOnset() const { return onset_; }
    // Forgets everything heard, as at the stream's start.
    void restart();

private:
    void closeBlock(uint64_t blockStart);
    // Where the sound that rose in the block just closed begins.
    uint64_t startOfRise(uint64_t blockStart) const;

    std::array<double, kMemoryBlocks> energies_{};  // the blocks before the one being filled
    size_t nextSlot_ = 0;
    // The block before the one being filled, then the one being filled.
    std::array<int16_t, 2 * kBlockSamples> samples_{};
    size_t blockFilled_ = 0;
    std::optional<uint64_t> onset_;
};

}  // namespace guide
