#pragma once
// The two steps after the magnitude spectrum: the harmonic sum, which credits
// every bin with the energy found near twice and three times its frequency,
// and the search for the strongest bin of that sum.

#include <span>

namespace pitch {

// sums[t] = spectrum[t] + A(t) + B(t), where A(t) is the strongest of the bins
// whose half, rounded half away from zero, is t, and B(t) the strongest of the
// bins whose third rounds to t — each truncated to a whole number before it is
// added. The last group of each walk (the bins rounding to the target past the
// end) is left out, so only targets below n/2 get a second-harmonic share and
// only targets below n/3 a third-harmonic one. Both spans have the same size.
// Answers the strongest bin of the sums, as strongestBin() would: the sum and
// its peak come out of one pass.
int sumHarmonics(std::span<const double> spectrum, std::span<double> sums);

// The first bin whose value is strictly greater than every bin before it and
// than 0.0; 0 when no bin is above 0.0.
int strongestBin(std::span<const double> sums);

}  // namespace pitch
