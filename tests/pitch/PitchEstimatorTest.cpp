// The estimate chain on buffers: the numbers it has always given, the edge
// cases of the hand-over, the kept estimate, and the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "pitch/PitchEstimator.h"
#include "tests/pitch/PluckedString.h"

namespace {

using pitch::PitchEstimator;
using pitch_testing::kCaptureRate;
using pitch_testing::Pluck;
using pitch_testing::pluckedString;

constexpr uint32_t kBufferSamples = 4096;
constexpr uint32_t kBufferBytes = kBufferSamples * 2;

std::vector<int16_t> pluckBuffer(double frequency) { return pluckedString(Pluck{.frequency = frequency}, kBufferSamples); }

std::vector<double> spectrumOf(const PitchEstimator& detector) {
    return {detector.freq_db(), detector.freq_db() + PitchEstimator::kSpectrumBins};
}

class PitchEstimate : public ::testing::Test {
protected:
    std::unique_ptr<PitchEstimator> detector = std::make_unique<PitchEstimator>(kCaptureRate);
};

struct BinCase {
    int bin;
    float hertz;
};

TEST_F(PitchEstimate, ReportsTheStrongestBinAsAWholeMultipleOfTheBinWidth) {
    const BinCase cases[] = {{1026, 439.57562f}, {1027, 440.00406f}, {1028, 440.43250f},
                             {1539, 659.3634f},  {768, 329.03906f}};
    for (const auto& [bin, hertz] : cases) {
        SCOPED_TRACE(bin);
        const auto samples = pluckBuffer(bin * kCaptureRate / PitchEstimator::kFftPoints);
        detector->setAudioBuffer(samples.data(), kBufferBytes);
        EXPECT_EQ(detector->frequency(), hertz);
        EXPECT_EQ(detector->findTopSpike(), bin);
        EXPECT_EQ(detector->frequencyOfBin(bin), hertz);
        EXPECT_EQ(detector->binOfFrequency(hertz), bin);
    }
}

TEST_F(PitchEstimate, AnswersZeroBeforeAnyBufferWithoutRunningTheTransform) {
    const auto samples = pluckBuffer(pitch_testing::kA4);
    detector->getFreqFromBuffer(samples.data(), kBufferBytes);
    const auto spectrumBefore = spectrumOf(*detector);

    EXPECT_EQ(detector->frequency(), 0.0f);
    EXPECT_EQ(spectrumOf(*detector), spectrumBefore);  // untouched: no transform ran
}

TEST_F(PitchEstimate, HearsZeroInSilence) {
    const std::vector<int16_t> silence(kBufferSamples, 0);
    detector->setAudioBuffer(silence.data(), kBufferBytes);
    EXPECT_EQ(detector->frequency(), 0.0f);
    EXPECT_EQ(spectrumOf(*detector), std::vector<double>(PitchEstimator::kSpectrumBins, 0.0));
}

TEST_F(PitchEstimate, AnEmptyBufferAfterASoundAnswersZero) {
    const auto samples = pluckBuffer(pitch_testing::kA4);
    detector->setAudioBuffer(samples.data(), kBufferBytes);
    ASSERT_GT(detector->frequency(), 0.0f);
    detector->setAudioBuffer(samples.data(), 0);
    EXPECT_EQ(detector->frequency(), 0.0f);
}

TEST_F(PitchEstimate, AnalysesWholeSamplesOnlyDroppingAnOddLastByte) {
    const auto samples = pluckBuffer(pitch_testing::kG4);
    detector->setAudioBuffer(samples.data(), kBufferBytes - 1);
    detector->frequency();
    const auto oddLength = spectrumOf(*detector);

    detector->getFreqFromBuffer(samples.data(), kBufferBytes - 2);
    EXPECT_EQ(spectrumOf(*detector), oddLength);
    detector->getFreqFromBuffer(samples.data(), kBufferBytes);
    EXPECT_NE(spectrumOf(*detector), oddLength);
}

TEST_F(PitchEstimate, CutsABufferLongerThanOneCaptureBuffer) {
    const auto samples = pluckedString(Pluck{.frequency = pitch_testing::kE4}, 3 * kBufferSamples);
    detector->setAudioBuffer(samples.data(), 3 * kBufferBytes);
    const float estimate = detector->frequency();
    const auto spectrum = spectrumOf(*detector);

    EXPECT_EQ(estimate, detector->getFreqFromBuffer(samples.data(), kBufferBytes));
    EXPECT_EQ(spectrumOf(*detector), spectrum);
}

TEST_F(PitchEstimate, KeepsTheEstimateUntilANewBufferArrives) {
    const auto a4 = pluckBuffer(pitch_testing::kA4);
    const auto e5 = pluckBuffer(pitch_testing::kE5);
    detector->setAudioBuffer(a4.data(), kBufferBytes);
    const float first = detector->frequency();
    ASSERT_EQ(first, 440.00406f);

    // Fill the analysis arrays with another sound: a recomputation would overwrite them.
    detector->getFreqFromBuffer(e5.data(), kBufferBytes);
    const auto e5Spectrum = spectrumOf(*detector);
    EXPECT_EQ(detector->frequency(), first);
    EXPECT_EQ(spectrumOf(*detector), e5Spectrum);

    // Any new buffer, even an identical one, is analysed afresh.
    detector->setAudioBuffer(a4.data(), kBufferBytes);
    EXPECT_EQ(detector->frequency(), first);
    EXPECT_NE(spectrumOf(*detector), e5Spectrum);

    detector->setAudioBuffer(e5.data(), kBufferBytes);
    EXPECT_EQ(detector->frequency(), 659.3634f);
}

TEST_F(PitchEstimate, ARepeatedBufferGetsTheSameEstimateAndLevel) {
    const auto a4 = pluckBuffer(pitch_testing::kA4);
    const std::vector<int16_t> silence(kBufferSamples, 0);
    detector->setAudioBuffer(a4.data(), kBufferBytes);
    const float estimate = detector->frequency();
    const double refined = detector->refinedFrequency();
    const auto level = detector->level();
    ASSERT_GT(level.mAveragePower, 0.0f);

    // Again at once; again after an empty buffer, after silence and after another chain on the same arrays.
    const auto expectTheSame = [&] {
        detector->setAudioBuffer(a4.data(), kBufferBytes);
        EXPECT_EQ(detector->frequency(), estimate);
        EXPECT_EQ(detector->refinedFrequency(), refined);
        EXPECT_EQ(detector->level().mAveragePower, level.mAveragePower);
        EXPECT_EQ(detector->level().mPeakPower, level.mPeakPower);
    };
    expectTheSame();
    detector->setAudioBuffer(a4.data(), 0);
    ASSERT_EQ(detector->frequency(), 0.0f);
    expectTheSame();
    for (int repeat = 0; repeat < 2; ++repeat) {
        detector->setAudioBuffer(silence.data(), kBufferBytes);
        ASSERT_EQ(detector->frequency(), 0.0f);
        ASSERT_EQ(detector->level().mPeakPower, 0.0f);
    }
    expectTheSame();
    detector->getFreqFromBuffer(silence.data(), kBufferBytes);
    expectTheSame();
    // A buffer that differs in its last sample alone is a new one.
    auto changed = a4;
    changed.back() = static_cast<int16_t>(changed.back() + 1000);
    detector->setAudioBuffer(changed.data(), kBufferBytes);
    detector->frequency();
    EXPECT_NE(detector->level().mAveragePower, level.mAveragePower);
}

TEST_F(PitchEstimate, KeptEstimatesEqualFreshOnes) {
    const double pitches[] = {pitch_testing::kE5, pitch_testing::kA4, pitch_testing::kE4, pitch_testing::kC5,
                              pitch_testing::kG4};
    for (const double pitch : pitches) {
        const auto samples = pluckBuffer(pitch);
        detector->setAudioBuffer(samples.data(), kBufferBytes);
        const float computed = detector->frequency();
        const float kept = detector->frequency();
        const float fresh = std::make_unique<PitchEstimator>(kCaptureRate)->getFreqFromBuffer(samples.data(), kBufferBytes);
        EXPECT_EQ(kept, computed) << pitch;
        EXPECT_EQ(fresh, computed) << pitch;
    }
}

TEST_F(PitchEstimate, AQuietSpectrumGetsNoHarmonicShare) {
    // About one unit of amplitude: every bin stays below 1.0.
    const auto whisper = pluckedString(Pluck{.frequency = pitch_testing::kA4, .level = 3e-5, .noise = 0.0},
                                       kBufferSamples);
    detector->getFreqFromBuffer(whisper.data(), kBufferBytes);
    const auto spectrum = spectrumOf(*detector);
    ASSERT_LT(*std::max_element(spectrum.begin(), spectrum.end()), 1.0);
    ASSERT_GT(*std::max_element(spectrum.begin(), spectrum.end()), 0.0);
    EXPECT_TRUE(std::equal(spectrum.begin(), spectrum.end(), detector->freq_db_harmonic()));
}

TEST_F(PitchEstimate, AFullBufferSineOfKnownAmplitudePeaksAtThatAmplitude) {
    // A sine of amplitude A exactly on bin k over all N points transforms to
    // A·N/2 at bin k; the magnitude scale 2/N makes that A again, and nothing
    // at the other bins.
    constexpr int kBin = 1024;
    constexpr double kAmplitude = 10000.0;
    std::vector<int16_t> samples(PitchEstimator::kFftPoints);
    for (size_t n = 0; n < samples.size(); ++n) {
        const double phase = 2.0 * std::numbers::pi * kBin * static_cast<double>(n) / PitchEstimator::kFftPoints;
        samples[n] = static_cast<int16_t>(std::lround(kAmplitude * std::sin(phase)));
    }
    detector->performFFT(samples.data(), PitchEstimator::kFftPoints);
    const std::vector<double> spectrum = spectrumOf(*detector);
    EXPECT_NEAR(spectrum[kBin], kAmplitude, kAmplitude * 1e-3);
    EXPECT_EQ(std::max_element(spectrum.begin(), spectrum.end()) - spectrum.begin(), kBin);
    EXPECT_LT(spectrum[kBin - 1], 1.0);
    EXPECT_LT(spectrum[kBin + 1], 1.0);
}

TEST(PitchWindow, WeighsTheEndsAtEightHundredthsAndTheMiddleAtOne) {
    const auto detector = std::make_unique<const PitchEstimator>(kCaptureRate);
    for (const int16_t count : {int16_t{5}, int16_t{4095}, int16_t{4096}}) {
        SCOPED_TRACE(count);
        EXPECT_NEAR(detector->hamming_window(0, count), 0.08, 1e-9);
        EXPECT_NEAR(detector->hamming_window(static_cast<int16_t>(count - 1), count), 0.08, 1e-9);
    }
    EXPECT_DOUBLE_EQ(detector->hamming_window(2, 5), 1.0);
    EXPECT_DOUBLE_EQ(detector->hamming_window(2047, 4095), 1.0);
    EXPECT_NEAR(detector->hamming_window(1, 5), 0.54, 1e-9);
}

TEST(PitchWindow, AppliesTheWeightsInPlaceTruncatingTowardZero) {
    const auto detector = std::make_unique<const PitchEstimator>(kCaptureRate);
    std::vector<int16_t> samples = {-101, 1001, -1001, -1001, -101};
    detector->performWindow(samples.data(), static_cast<uint32_t>(samples.size()));
    // -101 × 0.08 = -8.08 and -1001 × 0.54 = -540.54: toward zero, not down.
    EXPECT_EQ(samples, (std::vector<int16_t>{-8, 540, -1001, -540, -8}));
}

}  // namespace
