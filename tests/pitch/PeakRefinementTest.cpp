// The frequency refined to a fraction of a bin: the summit of a peak where it
// lies, the bin itself where there is no peak, and the accuracy table of the
// tuning guide — each open pitch detuned from -45 to +45 cents, every full
// buffer of a synthetic pluck, the error of the refined offset in cents.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "pitch/PeakRefinement.h"
#include "pitch/PitchEstimator.h"
#include "tests/pitch/PluckedString.h"

namespace {

using pitch_testing::centsBetween;
using pitch_testing::detuned;
using pitch_testing::kCaptureRate;

// A peak whose logarithm is a parabola with its summit at `summit`.
std::vector<double> gaussianPeak(double summit, size_t size = 64) {
    std::vector<double> spectrum(size);
    for (size_t k = 0; k < size; ++k) {
        spectrum[k] = 1000.0 * std::exp(-0.1 * std::pow(static_cast<double>(k) - summit, 2.0));
    }
    return spectrum;
}

TEST(PeakRefinement, FindsTheSummitBetweenBinsNearTheGivenBin) {
    for (const double summit : {30.0, 30.25, 30.5, 29.8, 32.9, 27.1}) {
        SCOPED_TRACE(summit);
        EXPECT_NEAR(pitch::refinedPeakBin(gaussianPeak(summit), 30), summit, 1e-9);
    }
}

struct NoPeakCase {
    std::string name;
    std::vector<double> spectrum;
    int bin;
};

TEST(PeakRefinement, KeepsTheBinWhereNoPeakLiesNearIt) {
    std::vector<double> rising(64);
    for (size_t k = 0; k < rising.size(); ++k) rising[k] = static_cast<double>(k);
    const NoPeakCase cases[] = {
        {"silence", std::vector<double>(64, 0.0), 30},
        {"a slope with its top beyond the search", rising, 30},
        {"a peak further than the search reaches", gaussianPeak(40.0), 30},
        {"the first bin", gaussianPeak(0.3), 0},
        {"the last bin", gaussianPeak(63.0), 63},
        {"a flat top", std::vector<double>(64, 5.0), 30},
    };
    for (const auto& [name, spectrum, bin] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(pitch::refinedPeakBin(spectrum, bin), bin);
    }
}

TEST(RefinedFrequency, IsZeroBeforeAnyBufferAndForAnEmptyOne) {
    pitch::PitchEstimator detector(kCaptureRate);
    EXPECT_EQ(detector.refinedFrequency(), 0.0);
    detector.setAudioBuffer(nullptr, 0);
    EXPECT_EQ(detector.refinedFrequency(), 0.0);
}

TEST(RefinedFrequency, FollowsEachNewBufferAndLeavesTheEstimateAsItWas) {
    pitch::PitchEstimator detector(kCaptureRate);
    const auto first = pitch_testing::pluckedString({.frequency = detuned(pitch_testing::kA4, -20.0)}, 4096);
    const auto second = pitch_testing::pluckedString({.frequency = detuned(pitch_testing::kE4, 12.0)}, 4096);

    detector.setAudioBuffer(first.data(), 8192);
    const float coarse = detector.frequency();
    EXPECT_NEAR(centsBetween(detector.refinedFrequency(), pitch_testing::kA4), -20.0, 0.5);
    EXPECT_EQ(detector.frequency(), coarse);
    EXPECT_EQ(detector.frequency(), detector.frequencyOfBin(detector.findTopSpike()));
    EXPECT_EQ(detector.estimatedBuffers(), 1u);

    detector.setAudioBuffer(second.data(), 8192);
    EXPECT_NEAR(centsBetween(detector.refinedFrequency(), pitch_testing::kE4), 12.0, 0.5);
    EXPECT_EQ(detector.estimatedBuffers(), 2u);
}

// The accuracy table: for each open pitch, the worst error of the refined
// offset over every full buffer of a 2-second pluck, at each detuning.
constexpr double kOffsets[] = {-45.0, -20.0, -5.0, 0.0, 5.0, 20.0, 45.0};
// The guide's promise on a steady pluck, and the band beyond which its
// direction must never be wrong.
constexpr double kToleranceCents = 0.5;
constexpr double kDirectionBandCents = 1.0;
constexpr size_t kPluckSamples = 28078;  // 2 s: six full buffers and a short last one

struct PitchCase {
    const char* note;
    double frequency;
};

class RefinedAccuracy : public testing::TestWithParam<PitchCase> {};

TEST_P(RefinedAccuracy, StaysWithinHalfACentOfEveryDetuning) {
    constexpr size_t kBuffer = pitch::PitchEstimator::kAnalysedBytes / sizeof(int16_t);
    std::string row = std::string(GetParam().note) + " worst error, cents:";
    for (const double offset : kOffsets) {
        SCOPED_TRACE(offset);
        const auto samples =
            pitch_testing::pluckedString({.frequency = detuned(GetParam().frequency, offset)}, kPluckSamples);
        auto detector = std::make_unique<pitch::PitchEstimator>(kCaptureRate);
        double worst = 0.0;
        for (size_t first = 0; first + kBuffer <= samples.size(); first += kBuffer) {
            detector->setAudioBuffer(samples.data() + first, static_cast<uint32_t>(kBuffer * sizeof(int16_t)));
            const double measured = centsBetween(detector->refinedFrequency(), GetParam().frequency);
            const double error = measured - offset;
            if (std::abs(error) > std::abs(worst)) worst = error;
            if (std::abs(offset) > kDirectionBandCents) {
                EXPECT_EQ(measured > 0.0, offset > 0.0) << first;
            }
        }
        EXPECT_LE(std::abs(worst), kToleranceCents);
        char cell[24];
        std::snprintf(cell, sizeof cell, " %+.0f: %+.3f", offset, worst);
        row += cell;
    }
    std::printf("%s\n", row.c_str());
}

INSTANTIATE_TEST_SUITE_P(OpenPitches, RefinedAccuracy,
                         testing::Values(PitchCase{"E5", pitch_testing::kE5}, PitchCase{"A4", pitch_testing::kA4},
                                         PitchCase{"E4", pitch_testing::kE4}, PitchCase{"C5", pitch_testing::kC5},
                                         PitchCase{"G4", pitch_testing::kG4}),
                         [](const auto& pitchCase) { return std::string(pitchCase.param.note); });

}  // namespace
