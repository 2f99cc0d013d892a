#pragma once
// What the guide's listening says after each hop of the stream, and the hop
// and window lengths it says it on.

#include <cstddef>
#include <cstdint>
#include <optional>

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

// Two strings this close are in unison: no ear hears them beat.
inline constexpr double kUnisonCents = 0.5;
// A spread measured below this is told as unison: halfway from the unison's
// edge to a cent, since near unison the measurement itself may be a tenth or
// two of a cent off.
inline constexpr double kToldInUnisonCents = 0.75;
inline bool inUnison(double spread) { return spread < kToldInUnisonCents; }

// What the guide hears of both strings of the course a pluck sounds.
struct PairReading {
    int course = 0;  // the course whose strings are read, 1 to 5; 0 for none
    // Where the needle points, in hertz: the pair's centre, weighted by the
    // strings' strengths, steady through the beat; 0.0 until the pluck has
    // rung long enough to say.
    double centre = 0.0;
    // The cents between the two strings, once measured; the octave course's
    // second string against the first's second partial.
    std::optional<double> spread;
    // The octave course's second string: its signed offset in cents from its
    // own pitch, twice the course's, once measured.
    std::optional<double> octave;
};

struct GuideReading {
    // Samples of the stream heard when the reading was made: its window ends there.
    uint64_t heard = 0;
    // The last hop's RMS level, of full scale: the level meter's scale.
    float level = 0.0f;
    // The fundamental of the window in hertz; 0.0 when the window holds none
    // (silence, noise, or a pluck too young to read).
    double frequency = 0.0;
    PairReading pair{};

    // Where the needle points: the pair's centre once known, else the window's fundamental.
    // Nothing while the window holds no fundamental.
    double needleFrequency() const { return frequency > 0.0 && pair.centre > 0.0 ? pair.centre : frequency; }
};

}  // namespace guide
