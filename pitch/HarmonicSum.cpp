#include "pitch/HarmonicSum.h"

#include <algorithm>
#include <cstddef>

// Built with -ffinite-math-only -fno-signed-zeros (CMakeLists.txt), which lets
// the compiler keep the largest sum in vector registers: every value here is
// a finite magnitude or a sum of them, never negative zero, so the result is
// the same as without them.

namespace pitch {
namespace {

// The index divided by the divisor, rounded to the nearest whole number with
// halves away from zero — for an index i ≥ 0 that is ⌊(2i + d) / 2d⌋.
constexpr size_t roundedQuotient(size_t index, size_t divisor) { return (2 * index + divisor) / (2 * divisor); }
static_assert(roundedQuotient(1, 2) == 1 && roundedQuotient(3, 2) == 2 && roundedQuotient(4, 3) == 1 &&
              roundedQuotient(5, 3) == 2);

// The whole part of the strongest of a group of bins, never below zero — what
// a walk that starts each group from 0 and truncates as it goes keeps.
double wholeMaximum(double a, double b) { return static_cast<int>(std::max(std::max(a, b), 0.0)); }
double wholeMaximum(double a, double b, double c) { return wholeMaximum(std::max(a, b), c); }

// Bins 1 and on: the bins whose half rounds to t are 2t - 1 and 2t, those whose
// third rounds to t are 3t - 1, 3t and 3t + 1. Each range has its own loop so
// that none tests which shares it gets; each keeps the largest sum so far.
// Answers the largest sum of [first, end).
template <bool kSecond, bool kThird>
double sumRange(const double* spectrum, double* sums, size_t first, size_t end, double largest) {
    for (size_t t = first; t < end; ++t) {
        double sum = spectrum[t];
        if constexpr (kSecond) sum += wholeMaximum(spectrum[2 * t - 1], spectrum[2 * t]);
        if constexpr (kThird) sum += wholeMaximum(spectrum[3 * t - 1], spectrum[3 * t], spectrum[3 * t + 1]);
        sums[t] = sum;
        largest = sum > largest ? sum : largest;
    }
    return largest;
}

}  // namespace

int sumHarmonics(std::span<const double> spectrum, std::span<double> sums) {
    const size_t count = spectrum.size();
    if (count == 0) return 0;
    // The targets of the last groups of the two walks, which get no share.
    const size_t secondEnd = roundedQuotient(count - 1, 2);
    const size_t thirdEnd = roundedQuotient(count - 1, 3);
    // Bin 0 is the only bin whose half rounds to 0; bins 0 and 1 have thirds that do.
    double first = spectrum[0];
    if (secondEnd > 0) first += wholeMaximum(spectrum[0], 0.0);
    if (thirdEnd > 0) first += wholeMaximum(spectrum[0], spectrum[1]);
    sums[0] = first;
    const double* in = spectrum.data();
    double* out = sums.data();
    double largest = sumRange<true, true>(in, out, 1, std::max<size_t>(thirdEnd, 1), std::max(first, 0.0));
    largest = sumRange<true, false>(in, out, std::max<size_t>(thirdEnd, 1), secondEnd, largest);
    largest = sumRange<false, false>(in, out, std::max<size_t>(secondEnd, 1), count, largest);
    // The first bin that holds the largest sum is the first one above all
    // before it; none above 0.0 means bin 0.
    if (largest <= 0.0) return 0;
    return static_cast<int>(std::find(sums.begin(), sums.end(), largest) - sums.begin());
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
