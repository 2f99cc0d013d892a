#pragma once
// The microphone-sensitivity levels and the two level limits each one sets
// for the tuning loop: below the bottom limit the display clears, above the
// top limit the frequency is matched. Higher levels ask for a louder sound.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace tuner {

struct LevelLimits {
    double bottom;  // on the meter's linear scale
    double top;
};

// The levels that set limits.
inline constexpr int64_t kLowestSensitivityLevel = 0;
inline constexpr int64_t kHighestSensitivityLevel = 10;
// The level a new program starts at, until the slider moves.
inline constexpr int64_t kStartSensitivityLevel = 5;

// By level; 0 to 5 share the most sensitive limits, each level above raises both by 0.001.
inline constexpr std::array<LevelLimits, kHighestSensitivityLevel + 1> kSensitivityTable{{
    {0.002, 0.0045},
    {0.002, 0.0045},
    {0.002, 0.0045},
    {0.002, 0.0045},
    {0.002, 0.0045},
    {0.002, 0.0045},
    {0.003, 0.0055},
    {0.004, 0.0065},
    {0.005, 0.0075},
    {0.006, 0.0085},
    {0.007, 0.0095},
}};

// The limits of `level`; none for a level outside 0 to 10.
constexpr std::optional<LevelLimits> limitsForSensitivityLevel(int64_t level) {
    if (level < kLowestSensitivityLevel || level > kHighestSensitivityLevel) return std::nullopt;
    return kSensitivityTable[static_cast<size_t>(level)];
}

// The level of a slider position or a stored one: truncated toward zero;
// positions beyond the range of levels are held at its ends, and no number at all is 0.
inline int64_t sensitivityLevelOf(float position) {
    if (std::isnan(position)) return 0;
    constexpr auto kLimit = static_cast<float>(std::numeric_limits<int64_t>::max());
    if (position >= kLimit) return std::numeric_limits<int64_t>::max();
    if (position <= -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(position);
}

// Where the sensitivity slider settles once let go at `position`: the nearest
// whole step, halves away from zero, held within the slider's ends.
inline float snappedSliderPosition(float position, float minimum, float maximum) {
    return std::clamp(std::round(position), minimum, maximum);
}

}  // namespace tuner
