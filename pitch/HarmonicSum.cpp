#include "pitch/HarmonicSum.h"

#include <algorithm>
#include <cmath>

namespace pitch {
namespace {

// Walks the spectrum once, grouping bins by their index divided by `divisor`
// (rounded half away from zero) and adding each finished group's truncated
// maximum to its target bin.
void addHarmonicGroups(std::span<const double> spectrum, std::span<double> sums, int divisor) {
    long target = 0;
    int groupMaximum = 0;
    for (size_t i = 0; i < spectrum.size(); ++i) {
        const long t = std::lround(static_cast<double>(i) / divisor);
        if (t > target) {
            sums[static_cast<size_t>(target)] += static_cast<double>(groupMaximum);
            target = t;
            groupMaximum = 0;
        }
        groupMaximum = static_cast<int>(std::max(spectrum[i], static_cast<double>(groupMaximum)));
    }
}

}  // namespace

void sumHarmonics(std::span<const double> spectrum, std::span<double> sums) {
    std::copy(spectrum.begin(), spectrum.end(), sums.begin());
    addHarmonicGroups(spectrum, sums, 2);
    addHarmonicGroups(spectrum, sums, 3);
}

int strongestBin(std::span<const double> sums) {
    double best = 0.0;
    int index = 0;
    for (size_t k = 0; k < sums.size(); ++k) {
        if (sums[k] > best) {
            best = sums[k];
            index = static_cast<int>(k);
        }
    }
    return index;
}

}  // namespace pitch
