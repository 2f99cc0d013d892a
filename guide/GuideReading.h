#pragma once
// What the guide's listening says after each hop of the stream, and the hop
// and window lengths it says it on.

#include <cstddef>
#include <cstdint>

namespace guide {

// A reading every 512 samples, 36.5 ms at the capture rate of 14039 Hz: some
// 27 readings a second, about as often as a microphone delivers samples.
inline constexpr size_t kHopSamples = 512;
// The window of a steady string: 292 ms of sound, enough for the offset to
// hold within a small fraction of a cent from one reading to the next.
inline constexpr size_t kLongestWindow = 4096;
// The first reading after a pluck rests on this much of the pluck alone: a
// dozen periods of the lowest course, enough to tell its partials apart.
inline constexpr size_t kShortestWindow = 512;

struct GuideReading {
    // Samples of the stream heard when the reading was made: its window ends there.
    uint64_t heard = 0;
    // The last hop's RMS level, of full scale: the level meter's scale.
    float level = 0.0f;
    // The fundamental of the window in hertz; 0.0 when the window holds none
    // (silence, noise, or a pluck too young to read).
    double frequency = 0.0;
};

}  // namespace guide
