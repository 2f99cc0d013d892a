#pragma once
// Which fundamental a window's peaks belong to, checked against octave and
// fifth errors. Each candidate is a strong peak divided by 1 to 6 (so a weak
// or missing fundamental is still among them) and is weighed two ways:
//
// - the peaks it leaves unexplained, by strength: a candidate an octave or a
//   fifth too high leaves the partials between its own harmonics;
// - its harmonics that find no peak, up to its highest explained one: a
//   candidate an octave (or a twelfth) too low predicts partials that are not
//   there, starting with its own fundamental.
//
// The candidate with the least of the two together wins. A pure sine is its
// own fundamental, and a tone whose fundamental is weak or gone is still
// named by it while its odd partials sound.

#include <optional>
#include <span>

#include "guide/SpectralPeaks.h"

namespace guide {

struct Fundamental {
    double hertz;          // the candidate: a peak's frequency divided by a whole number
    SpectralPeak partial;  // the peak to refine: its own fundamental where strong enough, else its strongest odd
                           // partial, else its strongest
    int harmonic;          // which harmonic that peak is
};

// The lowest and highest fundamentals named: every string of the instrument
// with more than an octave to spare either way.
inline constexpr double kLowestFundamental = 80.0;
inline constexpr double kHighestFundamental = 2000.0;

// Where a fundamental is sought, in hertz.
struct FundamentalRange {
    double lowest = kLowestFundamental;
    double highest = kHighestFundamental;
};

// The fundamental of `peaks` (strongest first) within `range`; none without
// peaks or candidates there.
std::optional<Fundamental> chooseFundamental(std::span<const SpectralPeak> peaks, FundamentalRange range = {});

}  // namespace guide
