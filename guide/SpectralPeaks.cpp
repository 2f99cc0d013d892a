#include "guide/SpectralPeaks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace guide {
namespace {

// The summit between bins: a parabola through the logarithms of a bin and its
// two neighbours. Good to a small part of a bin, which is all the choice of
// the fundamental needs.
double interpolatedBin(std::span<const double> magnitudes, size_t k) {
    const double before = std::log(magnitudes[k - 1]);
    const double at = std::log(magnitudes[k]);
    const double after = std::log(magnitudes[k + 1]);
    const double curvature = before - 2.0 * at + after;
    const double offset = curvature < 0.0 ? 0.5 * (before - after) / curvature : 0.0;
    return static_cast<double>(k) + std::clamp(offset, -0.5, 0.5);
}

constexpr double kFullScale = 32768.0;

}  // namespace

bool SpectralPeaks::tooQuietForPeaks(std::span<const int16_t> samples) {
    int loudest = 0;
    for (const int16_t sample : samples) loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    return 2.0 * loudest / kFullScale < kQuietest;
}

std::span<const SpectralPeak> SpectralPeaks::find(const SpectrumWindow& window) {
    const auto magnitudes = window.magnitudes();
    const double hertzPerBin = window.hertzPerBin();
    const auto first = static_cast<size_t>(std::ceil(kLowestHertz / hertzPerBin));
    const auto last = std::min(static_cast<size_t>(kHighestHertz / hertzPerBin), magnitudes.size() - 2);
    if (first >= last) return {};

    const size_t count = last - first + 1;
    std::copy_n(magnitudes.begin() + static_cast<std::ptrdiff_t>(first), count, scratch_.begin());
    const auto middle = scratch_.begin() + static_cast<std::ptrdiff_t>(count / 2);
    std::nth_element(scratch_.begin(), middle, scratch_.begin() + static_cast<std::ptrdiff_t>(count));
    const double floor = std::max(kQuietest, kAboveMedian * *middle);

    size_t found = 0;
    for (size_t k = first; k <= last; ++k) {
        if (magnitudes[k] > floor && magnitudes[k] > magnitudes[k - 1] && magnitudes[k] >= magnitudes[k + 1]) {
            summits_[found++] = {interpolatedBin(magnitudes, k) * hertzPerBin, magnitudes[k]};
        }
    }
    const auto summits = std::span(summits_).first(found);
    std::sort(summits.begin(), summits.end(),
              [](const SpectralPeak& a, const SpectralPeak& b) { return a.magnitude > b.magnitude; });

    const double sideLobeHertz = kSideLobeBins * window.sampleRate() / static_cast<double>(window.length());
    size_t kept = 0;
    for (const SpectralPeak& summit : summits) {
        if (kept == kMostPeaks || summit.magnitude < kWeakestOfStrongest * summits.front().magnitude) break;
        const bool sideLobe = std::any_of(peaks_.begin(), peaks_.begin() + static_cast<std::ptrdiff_t>(kept),
                                          [&](const SpectralPeak& stronger) {
                                              return std::abs(stronger.hertz - summit.hertz) < sideLobeHertz;
                                          });
        if (!sideLobe) peaks_[kept++] = summit;
    }
    return std::span(peaks_).first(kept);
}

}  // namespace guide
