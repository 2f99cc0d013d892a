// The harmonic sum and the peak search on spectra made by hand.
#include <gtest/gtest.h>

#include <vector>

#include "pitch/HarmonicSum.h"
#include "pitch/PitchEstimator.h"

namespace {

constexpr size_t kBins = pitch::PitchEstimator::kSpectrumBins;

std::vector<double> sumsOf(const std::vector<double>& spectrum) {
    std::vector<double> sums(spectrum.size());
    pitch::sumHarmonics(spectrum, sums);
    return sums;
}

struct SpikeCase {
    size_t bin;
    double strength;
    // Where the spike's whole part lands as a second and as a third harmonic
    // (-1: nowhere, the group is past the end of its walk).
    long secondHarmonicOf;
    long thirdHarmonicOf;
};

TEST(PitchHarmonicSum, CreditsASpikeToTheBinsAtHalfAndAThirdOfItsFrequency) {
    const SpikeCase cases[] = {
        {0, 4.5, 0, 0},          // bin 0 is its own half and third
        {1, 4.5, 1, 0},          // 0.5 rounds away from zero to 1
        {3, 4.5, 2, 1},          // 1.5 → 2, 1.0 → 1
        {5, 4.5, 3, 2},          // 2.5 → 3, 1.67 → 2
        {201, 5.7, 101, 67},     // 100.5 → 101, 67.0 → 67
        {16381, 2.2, 8191, 5460},
        {16382, 2.2, 8191, -1},  // 5460.67 → 5461: the last third group, never added
        {16383, 2.2, -1, -1},    // 8191.5 → 8192, 5461: both last groups
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bin);
        std::vector<double> spectrum(kBins, 0.0);
        spectrum[c.bin] = c.strength;
        std::vector<double> expected = spectrum;
        const double whole = static_cast<double>(static_cast<int>(c.strength));
        if (c.secondHarmonicOf >= 0) expected[static_cast<size_t>(c.secondHarmonicOf)] += whole;
        if (c.thirdHarmonicOf >= 0) expected[static_cast<size_t>(c.thirdHarmonicOf)] += whole;
        EXPECT_EQ(sumsOf(spectrum), expected);
    }
}

TEST(PitchHarmonicSum, TakesTheStrongestOfEachGroupNotTheirSum) {
    std::vector<double> spectrum(kBins, 0.0);
    spectrum[199] = 3.5;  // 99.5 rounds to 100
    spectrum[200] = 4.2;  // 100
    spectrum[300] = 2.9;  // third harmonic of 100, with 299 and 301
    spectrum[301] = 1.2;
    const auto sums = sumsOf(spectrum);
    EXPECT_EQ(sums[100], 0.0 + 4.0 + 2.0);
}

TEST(PitchHarmonicSum, LeavesASpectrumBelowOneUnchanged) {
    std::vector<double> spectrum(kBins);
    for (size_t k = 0; k < kBins; ++k) spectrum[k] = 0.999 * static_cast<double>(k % 7) / 6.0;
    EXPECT_EQ(sumsOf(spectrum), spectrum);
}

TEST(PitchHarmonicSum, GivesNoSecondHarmonicShareFrom8192NorAThirdFrom5461) {
    const std::vector<double> spectrum(kBins, 3.0);
    const auto sums = sumsOf(spectrum);
    const std::pair<size_t, double> expected[] = {
        {0, 9.0}, {1, 9.0}, {5460, 9.0}, {5461, 6.0}, {8191, 6.0}, {8192, 3.0}, {16383, 3.0}};
    for (const auto& [bin, sum] : expected) EXPECT_EQ(sums[bin], sum) << bin;
}

TEST(PitchPeak, TheFirstOfEqualPeaksWins) {
    EXPECT_EQ(pitch::strongestBin(std::vector<double>{0.0, 1.0, 7.5, 3.0, 7.5, 2.0}), 2);
}

TEST(PitchPeak, NothingAboveZeroGivesBinZero) {
    EXPECT_EQ(pitch::strongestBin(std::vector<double>(kBins, 0.0)), 0);
    EXPECT_EQ(pitch::strongestBin(std::vector<double>{-1.0, -0.5, 0.0}), 0);
}

}  // namespace
