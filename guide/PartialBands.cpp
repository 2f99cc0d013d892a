#include "guide/PartialBands.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace guide {

PartialBands::PartialBands(double sampleRate) : sampleRate_(sampleRate) {
    // A Hann-weighted sinc with its gain at 0 Hz made one.
    const double middle = static_cast<double>(kTaps - 1) / 2.0;
    const double cutoff = kCutoffHertz / sampleRate_;
    double sum = 0.0;
    for (size_t k = 0; k < kTaps; ++k) {
        const double x = static_cast<double>(k) - middle;
        const double sinc = std::sin(2.0 * std::numbers::pi * cutoff * x) / (std::numbers::pi * x);
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(k) / (2.0 * middle));
        taps_[k] = sinc * hann;
        sum += taps_[k];
    }
    for (double& tap : taps_) tap /= sum;
}

void PartialBands::start(double fundamental, std::span<const int> harmonics, std::span<const int16_t> heard) {
    count_ = std::min(harmonics.size(), kMostBands);
    for (size_t i = 0; i < count_; ++i) {
        harmonics_[i] = harmonics[i];
        shifts_[i] = fundamental * harmonics[i];
        const double step = -2.0 * std::numbers::pi * shifts_[i] / sampleRate_;
        for (size_t k = 0; k < kTaps; ++k) {
            turnedTaps_[i][k] = taps_[k] * std::polar(1.0, step * static_cast<double>(k));
        }
    }
    heard_ = 0;
    length_ = 0;
    take(heard);
}

double PartialBands::meanHertz(size_t i) const {
    const auto samples = band(i);
    if (samples.size() < 2) return 0.0;
    std::complex<double> turn;
    for (size_t m = 1; m < samples.size(); ++m) turn += samples[m] * std::conj(samples[m - 1]);
    return shifts_[i] + std::arg(turn) * rate() / (2.0 * std::numbers::pi);
}

void PartialBands::take(std::span<const int16_t> samples) {
    for (const int16_t sample : samples) {
        recent_[heard_ % kTaps] = sample;
        ++heard_;
        if (heard_ >= kTaps && (heard_ - kTaps) % kThinning == 0) addBandSample();
    }
}

void PartialBands::addBandSample() {
    if (length_ == kKeptSamples) {
        for (size_t i = 0; i < count_; ++i) std::copy(bands_[i].begin() + 1, bands_[i].end(), bands_[i].begin());
        --length_;
    }
    const uint64_t first = heard_ - kTaps;  // the pluck's sample under the first tap
    for (size_t i = 0; i < count_; ++i) {
        std::complex<double> sum;
        for (size_t k = 0; k < kTaps; ++k) sum += turnedTaps_[i][k] * recent_[(first + k) % kTaps];
        // Where the shift's turn stands at the first tap, kept within a turn so
        // that no precision is lost however long the pluck rings.
        const double turns = std::fmod(shifts_[i] * static_cast<double>(first) / sampleRate_, 1.0);
        bands_[i][length_] = sum * std::polar(1.0, -2.0 * std::numbers::pi * turns);
    }
    ++length_;
}

}  // namespace guide
