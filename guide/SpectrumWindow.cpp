#include "guide/SpectrumWindow.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace guide {
namespace {

constexpr double kFullScale = 32768.0;
// The summit's search: three steps, each a parabola through the logarithm of
// the magnitude at the point and a step either side; the first step a quarter
// of the window's bin, each next one a sixth of the one before.
constexpr int kSummitSteps = 3;
constexpr double kFirstStepOfABin = 0.25;
constexpr double kStepShrink = 6.0;

}  // namespace

SpectrumWindow::SpectrumWindow(double sampleRate) : sampleRate_(sampleRate), fft_(static_cast<int>(kPoints)) {}

void SpectrumWindow::take(std::span<const int16_t> samples) {
    const size_t length = std::min(samples.size(), kLongestWindow);
    if (length != length_) weigh(length);
    for (size_t n = 0; n < length_; ++n) weighted_[n] = static_cast<float>(weights_[n] * samples[n]);
    fft_.magnitudes(weighted_.data(), magnitudes_, scale_);
}

void SpectrumWindow::weigh(size_t length) {
    length_ = length;
    const double last = static_cast<double>(length_ - 1);
    double sum = 0.0;
    for (size_t n = 0; n < length_; ++n) {
        weights_[n] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(n) / last);
        sum += weights_[n];
    }
    std::fill(weighted_.begin() + static_cast<std::ptrdiff_t>(length_), weighted_.end(), 0.0f);
    // A sine of amplitude A sums to A times half the weights at its own frequency.
    scale_ = 2.0 / (sum * kFullScale);
}

double SpectrumWindow::magnitudeAt(double hertz) const {
    // The sum of the weighted samples turned by a phasor that advances one
    // step per sample; renormalised now and then so it stays on the circle.
    const double step = -2.0 * std::numbers::pi * hertz / sampleRate_;
    const std::complex<double> advance(std::cos(step), std::sin(step));
    std::complex<double> phasor(1.0, 0.0);
    std::complex<double> sum(0.0, 0.0);
    for (size_t n = 0; n < length_; ++n) {
        sum += static_cast<double>(weighted_[n]) * phasor;
        phasor *= advance;
        if (n % 1024 == 1023) phasor /= std::abs(phasor);
    }
    return std::abs(sum) * scale_;
}

double SpectrumWindow::summitNear(double hertz) const {
    double step = kFirstStepOfABin * sampleRate_ / static_cast<double>(length_);
    double summit = hertz;
    for (int i = 0; i < kSummitSteps; ++i) {
        const double before = std::log(magnitudeAt(summit - step));
        const double at = std::log(magnitudeAt(summit));
        const double after = std::log(magnitudeAt(summit + step));
        const double curvature = before - 2.0 * at + after;
        // Off the summit's cap (or on a flat): climb a step towards the higher side.
        const double offset = curvature < 0.0 ? std::clamp(0.5 * (before - after) / curvature, -1.0, 1.0)
                                              : (after > before ? 1.0 : -1.0);
        if (!std::isfinite(offset)) break;
        summit += offset * step;
        step /= kStepShrink;
    }
    return summit;
}

}  // namespace guide
