#include "guide/SpectrumWindow.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "guide/PlainComplex.h"

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

std::array<double, 3> SpectrumWindow::magnitudesAround(double hertz, double step) const {
    // For each frequency the sum of the weighted samples turned by a phasor
    // that advances one step per sample, renormalised now and then so it
    // stays on the circle. The three go side by side through one pass, each
    // summed exactly as it would be alone: one phasor's product waits on the
    // one before, and the other two fill that wait.
    const double frequencies[3] = {hertz - step, hertz, hertz + step};
    std::array<std::complex<double>, 3> advances;
    std::array<std::complex<double>, 3> phasors;
    std::array<std::complex<double>, 3> sums;
    for (size_t k = 0; k < 3; ++k) {
        const double turn = -2.0 * std::numbers::pi * frequencies[k] / sampleRate_;
        advances[k] = {std::cos(turn), std::sin(turn)};
        phasors[k] = 1.0;
        sums[k] = 0.0;
    }
    for (size_t n = 0; n < length_; ++n) {
        const double sample = weighted_[n];
        for (size_t k = 0; k < 3; ++k) {
            sums[k] += sample * phasors[k];
            phasors[k] = times(phasors[k], advances[k]);
        }
        if (n % 1024 == 1023) {
            for (std::complex<double>& phasor : phasors) phasor /= std::abs(phasor);
        }
    }
    std::array<double, 3> magnitudes;
    for (size_t k = 0; k < 3; ++k) magnitudes[k] = std::abs(sums[k]) * scale_;
    return magnitudes;
}

double SpectrumWindow::summitNear(double hertz) const {
    double step = kFirstStepOfABin * sampleRate_ / static_cast<double>(length_);
    double summit = hertz;
    for (int i = 0; i < kSummitSteps; ++i) {
        const auto [beforeMagnitude, atMagnitude, afterMagnitude] = magnitudesAround(summit, step);
        const double before = std::log(beforeMagnitude);
        const double at = std::log(atMagnitude);
        const double after = std::log(afterMagnitude);
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
