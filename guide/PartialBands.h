#pragma once
// The narrow bands around a pluck's first partials, each shifted down so that
// the partial's expected frequency sits at 0 Hz, low-passed and thinned to
// some 110 samples a second. In such a band two strings a few cents apart are
// two slow, fading rotations whose frequencies a fit can tell apart (see
// PairFit.h), with nothing of the other partials left in it.
//
// The low-pass is a Hann-weighted sinc of 512 taps: flat to some 10 Hz
// either side of the partial, half the amplitude at 30 Hz, and more than
// 40 dB down beyond 57 Hz, where the thinned band would fold over; the
// nearest other partial lies at least 330 Hz away. The band keeps the latest
// four seconds of the pluck.
//
// One thread at a time; nothing is allocated after construction.

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <span>

namespace guide {

class PartialBands {
public:
    static constexpr size_t kMostBands = 3;
    static constexpr size_t kThinning = 128;
    static constexpr size_t kTaps = 512;
    static constexpr double kCutoffHertz = 30.0;
    static constexpr size_t kKeptSamples = 440;  // four seconds of the band

    explicit PartialBands(double sampleRate);

    // Starts afresh: a band around each of `harmonics` (at most kMostBands) of
    // `fundamental`, fed with `heard`, the samples heard so far of the pluck.
    void start(double fundamental, std::span<const int> harmonics, std::span<const int16_t> heard);
    // The pluck's next samples.
    void take(std::span<const int16_t> samples);

    size_t count() const { return count_; }
    // Band `i`'s latest samples, oldest first.
    std::span<const std::complex<double>> band(size_t i) const { return std::span(bands_[i]).first(length_); }
    // The frequency in hertz that band `i`'s 0 Hz stands for.
    double shift(size_t i) const { return shifts_[i]; }
    int harmonic(size_t i) const { return harmonics_[i]; }
    // Band `i`'s frequency in hertz, weighted by strength: its mean turn from
    // one sample to the next, shift included. Two strings beating in the band
    // give a frequency between theirs, however the beat swells and fades; 0.0
    // before the band has two samples.
    double meanHertz(size_t i) const;
    // The bands' samples per second.
    double rate() const { return sampleRate_ / static_cast<double>(kThinning); }

private:
    // The bands' next samples, from the latest kTaps of the pluck. (Not
    // "emit": Qt takes that word for its own.)
    void addBandSample();

    const double sampleRate_;
    std::array<double, kTaps> taps_{};
    size_t count_ = 0;
    std::array<int, kMostBands> harmonics_{};
    std::array<double, kMostBands> shifts_{};
    // Each band's taps turned by its shift: one sum per band sample.
    std::array<std::array<std::complex<double>, kTaps>, kMostBands> turnedTaps_{};
    // The latest kTaps samples, in a ring.
    std::array<double, kTaps> recent_{};
    uint64_t heard_ = 0;  // samples of the pluck taken
    std::array<std::array<std::complex<double>, kKeptSamples>, kMostBands> bands_{};
    size_t length_ = 0;
};

}  // namespace guide
