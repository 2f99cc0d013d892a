#include "pitch/PeakRefinement.h"

#include <cmath>
#include <cstddef>

namespace pitch {

double refinedPeakBin(std::span<const double> spectrum, int bin) {
    const auto count = static_cast<int>(spectrum.size());
    if (bin < 1 || bin >= count - 1) return bin;
    const auto at = [&](int k) { return spectrum[static_cast<size_t>(k)]; };

    int top = bin;
    for (int k = bin - kPeakSearchBins; k <= bin + kPeakSearchBins; ++k) {
        if (k >= 0 && k < count && at(k) > at(top)) top = k;
    }
    // The highest bin must be a summit with a neighbour on each side.
    if (top < 1 || top >= count - 1 || at(top - 1) >= at(top) || at(top + 1) > at(top) || at(top - 1) <= 0.0 ||
        at(top + 1) <= 0.0) {
        return bin;
    }
    const double before = std::log(at(top - 1));
    const double peak = std::log(at(top));
    const double after = std::log(at(top + 1));
    const double curvature = before - 2.0 * peak + after;
    if (curvature >= 0.0) return bin;
    return top + 0.5 * (before - after) / curvature;
}

}  // namespace pitch
