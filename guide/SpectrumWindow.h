#pragma once
// One window of the guide's stream: the samples weighted by a Hann window, and
// their magnitude spectrum, padded with zeros to 8192 points (1.7 Hz bins at
// the capture rate) so that every partial's peak spans several bins. The bins
// find the peaks; the summit of a peak is then found on the window's own
// transform at any frequency, which no padding limits: a partial's peak is
// the transform of the window (times the string's fading), real and
// positive, so it stands symmetric about the partial's frequency however much
// of the window the sound fills.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "guide/GuideReading.h"
#include "pitch/RealFft.h"

namespace guide {

class SpectrumWindow {
public:
    static constexpr size_t kPoints = 8192;
    static constexpr size_t kBins = kPoints / 2;
    static_assert(kLongestWindow <= kPoints);

    explicit SpectrumWindow(double sampleRate);
    SpectrumWindow(const SpectrumWindow&) = delete;
    SpectrumWindow& operator=(const SpectrumWindow&) = delete;

    // Weighs `samples` (at most kLongestWindow; at least two) and transforms them.
    void take(std::span<const int16_t> samples);

    // Each bin's magnitude, as the amplitude of a sine of full scale 1.0 at
    // that bin's frequency would read it.
    std::span<const double> magnitudes() const { return magnitudes_; }
    double hertzPerBin() const { return sampleRate_ / static_cast<double>(kPoints); }
    double sampleRate() const { return sampleRate_; }
    // The window's length in samples.
    size_t length() const { return length_; }

    // The magnitudes at `hertz` - `step`, `hertz` and `hertz` + `step`, on the
    // same scale, from the weighted samples.
    std::array<double, 3> magnitudesAround(double hertz, double step) const;
    // The summit of the peak that `hertz` lies on, to well below a
    // thousandth of a bin of the window's own length.
    double summitNear(double hertz) const;

private:
    // The Hann window for `length` samples, made only when the length changes
    // (a string that rings on is read with the same length hop after hop).
    void weigh(size_t length);

    const double sampleRate_;
    size_t length_ = 0;
    double scale_ = 0.0;  // from a transform's magnitude to a sine's amplitude
    std::array<double, kLongestWindow> weights_{};
    std::array<float, kPoints> weighted_{};
    std::array<double, kBins> magnitudes_{};
    pitch::RealFft fft_;
};

}  // namespace guide
