#pragma once
// The partials a window holds: the peaks of its spectrum that stand clear of
// the noise and of the stronger peaks' side lobes, strongest first.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "guide/SpectrumWindow.h"

namespace guide {

struct SpectralPeak {
    double hertz;      // to a fraction of a bin
    double magnitude;  // as a sine of full scale 1.0 reads
};

class SpectralPeaks {
public:
    static constexpr size_t kMostPeaks = 16;
    // Where partials are looked for: below the lowest fundamental the guide
    // names, and up to where a window still holds several harmonics of it.
    static constexpr double kLowestHertz = 60.0;
    static constexpr double kHighestHertz = 5500.0;
    // A peak counts when it is at most 40 dB below the strongest, eight
    // times the median bin (the noise), and above -80 dB of full scale.
    static constexpr double kWeakestOfStrongest = 0.01;
    static constexpr double kAboveMedian = 8.0;
    static constexpr double kQuietest = 1e-4;
    // A Hann window's side lobes lie from two to four of the window's bins
    // beside its peak; a weaker peak that near a stronger one is one of them.
    static constexpr double kSideLobeBins = 4.0;

    // The peaks of `window`, strongest first.
    std::span<const SpectralPeak> find(const SpectrumWindow& window);
    // Whether samples this quiet can hold no peak, whatever the window they
    // fill: no bin of it reads more than twice its loudest sample (of full
    // scale), so samples within a step of zero stay below kQuietest and need
    // no transform to tell.
    static bool tooQuietForPeaks(std::span<const int16_t> samples);

private:
    std::array<double, SpectrumWindow::kBins> scratch_{};
    std::array<SpectralPeak, SpectrumWindow::kBins / 2> summits_{};
    std::array<SpectralPeak, kMostPeaks> peaks_{};
};

}  // namespace guide
