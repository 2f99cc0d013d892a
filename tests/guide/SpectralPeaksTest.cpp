// Which windows can hold a peak at all: samples that never leave a step of
// zero are told quiet without a transform, and their transform agrees.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "guide/SpectralPeaks.h"
#include "guide/SpectrumWindow.h"
#include "pitch/CaptureFormat.h"

namespace {

using guide::SpectralPeaks;
using guide::SpectrumWindow;

// A square wave of `height` steps either side of zero at `hertz`: the loudest
// sound samples of that height make, its fundamental 4/π times the height.
std::vector<int16_t> squareWave(int height, double hertz, size_t length) {
    std::vector<int16_t> samples(length);
    for (size_t n = 0; n < length; ++n) {
        const double phase = 2.0 * std::numbers::pi * hertz * static_cast<double>(n) / pitch::kCaptureSampleRate;
        samples[n] = static_cast<int16_t>(std::sin(phase) >= 0.0 ? height : -height);
    }
    return samples;
}

TEST(QuietWindow, IsToldByItsLoudestSample) {
    struct Case {
        std::string name;
        std::vector<int16_t> samples;
        bool tooQuiet;
    };
    const Case cases[] = {
        {"silence", std::vector<int16_t>(4096, 0), true},
        {"a step either side of zero", squareWave(1, 440.0, 4096), true},
        {"one sample two steps up", {0, 0, 2, 0}, false},
        {"one sample two steps down", {0, -2, 0, 0}, false},
        {"the most negative sample", {0, -32768}, false},
        {"no samples", {}, true},
    };
    for (const auto& [name, samples, tooQuiet] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(SpectralPeaks::tooQuietForPeaks(samples), tooQuiet);
    }
}

TEST(QuietWindow, ItsTransformHoldsNoPeakEither) {
    SpectrumWindow window(pitch::kCaptureSampleRate);
    SpectralPeaks peaks;
    for (const size_t length : {size_t{512}, size_t{4096}}) {
        for (const double hertz : {65.0, 329.6, 440.0, 1318.5, 5000.0}) {
            SCOPED_TRACE(std::to_string(length) + " samples at " + std::to_string(hertz) + " Hz");
            const auto samples = squareWave(1, hertz, length);
            ASSERT_TRUE(SpectralPeaks::tooQuietForPeaks(samples));
            window.take(samples);
            EXPECT_TRUE(peaks.find(window).empty());
        }
    }
}

TEST(QuietWindow, ASoundJustLouderHasPeaks) {
    SpectrumWindow window(pitch::kCaptureSampleRate);
    SpectralPeaks peaks;
    // Three steps: a fundamental of 1.2e-4 of full scale, above the quietest peak.
    const auto samples = squareWave(3, 440.0, 4096);
    ASSERT_FALSE(SpectralPeaks::tooQuietForPeaks(samples));
    window.take(samples);
    ASSERT_FALSE(peaks.find(window).empty());
    EXPECT_NEAR(peaks.find(window).front().hertz, 440.0, 1.0);
}

}  // namespace
