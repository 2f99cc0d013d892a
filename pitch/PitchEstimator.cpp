#include "pitch/PitchEstimator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>

#include "pitch/HarmonicSum.h"
#include "pitch/PeakRefinement.h"

namespace pitch {
namespace {

// 1/32768: converts a bin number times the sample rate to hertz.
constexpr double kHertzPerBinAndRate = 0x1p-15;
// 2/32768: scales a transform magnitude.
constexpr double kMagnitudeScale = 0x1p-14;
// The window's 2π, written as the decimal the estimate has always used.
constexpr double kWindowTwoPi = 6.283185308;

}  // namespace

PitchEstimator::PitchEstimator(double sampleRate) : sampleRate_(sampleRate), fft_(static_cast<int>(kFftPoints)) {}

void PitchEstimator::setAudioBuffer(const void* data, uint32_t length) {
    if (data == nullptr) length = 0;
    length = std::min(length, kAnalysedBytes);
    std::lock_guard guard(lock_);
    if (length > 0) std::memcpy(audio_data_.data(), data, length);
    audio_data_len_ = length;
    ++buffersReceived_;
}

float PitchEstimator::frequency() {
    std::array<int16_t, kAnalysedBytes / sizeof(int16_t)> latest;
    uint32_t length = 0;
    {
        std::lock_guard guard(lock_);
        if (buffersReceived_ == estimatedBuffer_) return estimate_;
        length = audio_data_len_;
        std::memcpy(latest.data(), audio_data_.data(), length);
        estimatedBuffer_ = buffersReceived_;
    }
    if (length == 0) {
        estimate_ = 0.0f;
        refinedEstimate_ = 0.0;
        level_ = {};
        estimatedKept_ = {};
        return estimate_;
    }
    const std::span<const int16_t> samples(latest.data(), length / sizeof(int16_t));
    if (!estimatedKept_.empty() && std::ranges::equal(samples, estimatedKept_)) return estimate_;
    estimate_ = getFreqFromBuffer(latest.data(), length);
    refinedEstimate_ = refinedFrequencyOfBin(binOfFrequency(estimate_));
    std::ranges::copy(samples, estimatedSamples_.begin());
    estimatedKept_ = std::span(estimatedSamples_).first(samples.size());
    return estimate_;
}

double PitchEstimator::refinedFrequency() {
    frequency();
    return refinedEstimate_;
}

double PitchEstimator::refinedFrequencyOfBin(int bin) const {
    return refinedPeakBin(freq_db_, bin) * sampleRate_ * kHertzPerBinAndRate;
}

float PitchEstimator::getFreqFromBuffer(const int16_t* samples, uint32_t length) {
    // The spectrum and the sum are overwritten whole by the steps below, and
    // a missing configuration reads silence.
    performFFT(samples, length / 2);
    return frequencyOfBin(addHarmonics());
}

void PitchEstimator::performFFT(const int16_t* samples, uint32_t totalSamples) {
    totalSamples = std::min(totalSamples, kFftPoints);
    estimatedKept_ = {};
    platform::LevelSums levelSums;
    for (uint32_t i = 0; i < totalSamples; ++i) {
        in_fft_[i] = static_cast<float>(samples[i]);
        levelSums.add(samples[i]);
    }
    level_ = platform::levelOf(levelSums, totalSamples);
    if (samplesInFft_ > totalSamples) std::fill(in_fft_.begin() + totalSamples, in_fft_.begin() + samplesInFft_, 0.0f);
    samplesInFft_ = totalSamples;
    fft_.magnitudes(in_fft_.data(), freq_db_, kMagnitudeScale);
}

int PitchEstimator::addHarmonics() { return sumHarmonics(freq_db_, freq_db_harmonic_); }

int PitchEstimator::findTopSpike() const { return strongestBin(freq_db_harmonic_); }

float PitchEstimator::frequencyOfBin(int bin) const {
    return static_cast<float>(static_cast<double>(static_cast<float>(bin)) * sampleRate_ * kHertzPerBinAndRate);
}

int PitchEstimator::binOfFrequency(float frequency) const {
    return static_cast<int>(std::lround(static_cast<double>(frequency) / (sampleRate_ * kHertzPerBinAndRate)));
}

double PitchEstimator::hamming_window(int16_t n, int16_t N) const {
    return 0.54 + (-0.46) * std::cos((kWindowTwoPi / (N - 1)) * n);
}

void PitchEstimator::performWindow(int16_t* samples, uint32_t totalSamples) const {
    for (uint32_t i = 0; i < totalSamples; ++i) {
        const double weight = hamming_window(static_cast<int16_t>(i), static_cast<int16_t>(totalSamples));
        // A window one sample long has no shape (its weight divides by zero).
        if (!std::isfinite(weight)) continue;
        samples[i] = static_cast<int16_t>(weight * samples[i]);
    }
}

}  // namespace pitch
