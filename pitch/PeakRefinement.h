#pragma once
// The detector's bins are 0.43 Hz apart, about 2 cents at the instrument's
// pitches: too coarse to say how far a string is from its pitch. This finds
// the peak of the magnitude spectrum near the detector's bin to a fraction of
// a bin. The 4096 samples fill an eighth of the 32768-point transform, so a
// partial's peak is some sixteen bins wide and smooth: a parabola through the
// logarithms of the highest bin and its two neighbours puts its summit within
// a hundredth of a bin. It reads the spectrum the estimate was made from and
// changes nothing of the estimate.

#include <span>

namespace pitch {

// How far from the detector's bin the partial's highest bin may lie: the
// harmonic sum credits a bin with its neighbours' harmonics, so its winner
// can sit a bin or two beside the fundamental's own peak.
inline constexpr int kPeakSearchBins = 4;

// The position, in bins with a fraction, of the spectrum's peak near `bin`;
// `bin` itself when no peak lies within kPeakSearchBins of it (silence, a bin
// at the spectrum's edge, or a winner with no partial of its own).
double refinedPeakBin(std::span<const double> spectrum, int bin);

}  // namespace pitch
