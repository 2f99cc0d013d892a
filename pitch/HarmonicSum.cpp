#include "pitch/HarmonicSum.h"

#include <algorithm>

namespace pitch {
namespace {

// The index divided by the divisor, rounded to the nearest whole number with
// halves away from zero — for an index i ≥ 0 that is ⌊(2i + d) / 2d⌋, exact
// integer arithmetic instead of a rounding call per bin.
template <long kDivisor>
constexpr long roundedQuotient(long index) {
    return (2 * index + kDivisor) / (2 * kDivisor);
}
static_assert(roundedQuotient<2>(1) == 1 && roundedQuotient<2>(3) == 2 && roundedQuotient<3>(4) == 1 &&
              roundedQuotient<3>(5) == 2);

// Walks the spectrum once, grouping bins by their rounded quotient and adding
// each finished group's truncated maximum to its target bin. The group still
// open when the walk ends is left out.
template <long kDivisor>
void addHarmonicGroups(std::span<const double> spectrum, std::span<double> sums) {
    long target = 0;
    int groupMaximum = 0;
    for (size_t i = 0; i < spectrum.size(); ++i) {
        const long t = roundedQuotient<kDivisor>(static_cast<long>(i));
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
    addHarmonicGroups<2>(spectrum, sums);
    addHarmonicGroups<3>(spectrum, sums);
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
