// The guide's accuracy on synthetic plucks: the table of the five open pitches
// detuned from -45 to +45 cents, with the pluck's onset at 10 %, 50 % and 90 %
// of the way through a hop; how steady a string reads, how soon after the
// onset it reads true, and that pure sines, weak and missing fundamentals and
// an octave-heavy attack are named by their fundamental.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "tests/guide/GuideSignals.h"
#include "tuner/TuningGuide.h"

namespace {

using guide_testing::kCoursePitches;
using guide_testing::kTableCents;
using pitch_testing::centsBetween;
using pitch_testing::detuned;
using tuner::TuningDirection;

constexpr double kSteadyToleranceCents = 0.1;
// A few hops of room noise before every pluck.
constexpr size_t kLeadInHops = 8;
constexpr size_t kPluckSamples = 16845;  // 1.2 s

struct Reading {
    size_t afterOnset;  // samples of the pluck the window ends on
    double error;       // cents from the truth
    std::optional<tuner::Guidance> guidance;
};

struct PluckCase {
    double pitch;
    double cents;
    double onsetIntoHop;  // of a hop's length
};

// The readings of a pluck from its onset on.
std::vector<Reading> readPluck(const PluckCase& pluck) {
    const size_t leadIn =
        kLeadInHops * guide::kHopSamples + static_cast<size_t>(pluck.onsetIntoHop * guide::kHopSamples);
    const double truth = detuned(pluck.pitch, pluck.cents);
    const auto samples = guide_testing::pluckAfter(leadIn, {.frequency = truth}, kPluckSamples);
    std::vector<Reading> readings;
    for (const auto& reading : guide_testing::readingsOf(samples)) {
        if (reading.heard <= leadIn || reading.frequency == 0.0) continue;
        readings.push_back({static_cast<size_t>(reading.heard - leadIn), centsBetween(reading.frequency, truth),
                            tuner::nearestCourse(reading.frequency)});
    }
    return readings;
}

std::vector<PluckCase> accuracyTable(double onsetIntoHop) {
    std::vector<PluckCase> cases;
    for (const double pitch : kCoursePitches) {
        for (const double cents : kTableCents) cases.push_back({pitch, cents, onsetIntoHop});
    }
    return cases;
}

bool pointsTheOtherWay(TuningDirection shown, TuningDirection truth) {
    return (shown == TuningDirection::Up && truth == TuningDirection::Down) ||
           (shown == TuningDirection::Down && truth == TuningDirection::Up);
}

// Every reading names the pluck's course and never points the wrong way.
void expectRightCourseAndWay(const PluckCase& pluck, const std::vector<Reading>& readings) {
    const auto truth = tuner::nearestCourse(detuned(pluck.pitch, pluck.cents));
    for (const Reading& reading : readings) {
        ASSERT_TRUE(reading.guidance);
        EXPECT_EQ(reading.guidance->course, truth->course) << reading.afterOnset << " samples after the onset";
        EXPECT_FALSE(pointsTheOtherWay(reading.guidance->direction, truth->direction))
            << reading.afterOnset << " samples after the onset";
    }
}

class GuideAccuracy : public testing::TestWithParam<double> {};

TEST_P(GuideAccuracy, ReadsEveryPluckOfTheTableWithinATenthOfACent) {
    double worstFirst = 0.0;
    double worstOnceAHopIn = 0.0;
    double worstSteady = 0.0;
    for (const PluckCase& pluck : accuracyTable(GetParam())) {
        SCOPED_TRACE(testing::Message() << pluck.pitch << " Hz " << pluck.cents << " cents");
        const auto readings = readPluck(pluck);
        ASSERT_FALSE(readings.empty());
        // The first reading comes once the window holds a shortest window of the pluck.
        EXPECT_LT(readings.front().afterOnset, guide::kShortestWindow + guide::kHopSamples);
        expectRightCourseAndWay(pluck, readings);
        for (const Reading& reading : readings) {
            const double error = std::abs(reading.error);
            worstFirst = std::max(worstFirst, error);
            if (reading.afterOnset >= 2 * guide::kShortestWindow) {
                EXPECT_LE(error, kSteadyToleranceCents) << reading.afterOnset << " samples after the onset";
                worstOnceAHopIn = std::max(worstOnceAHopIn, error);
            }
            if (reading.afterOnset >= guide::kLongestWindow) worstSteady = std::max(worstSteady, error);
        }
    }
    std::printf("onset %2.0f %% into a hop: worst error %.3f cents from the first reading, %.3f from 73 ms, "
                "%.3f once the window is the pluck's\n",
                GetParam() * 100.0, worstFirst, worstOnceAHopIn, worstSteady);
    EXPECT_LE(worstFirst, 0.5);
}

TEST_P(GuideAccuracy, SettlesWithinACentOfItsLastReadingIn150Milliseconds) {
    constexpr double kSettleCents = 1.0;
    const auto settleSamples = static_cast<size_t>(0.150 * guide_testing::kCaptureRate);
    size_t settledInTime = 0;
    size_t slowest = 0;
    const auto cases = accuracyTable(GetParam());
    for (const PluckCase& pluck : cases) {
        const auto readings = readPluck(pluck);
        ASSERT_FALSE(readings.empty());
        const double settled = readings.back().error;
        const auto first = std::find_if(readings.begin(), readings.end(), [&](const Reading& reading) {
            return std::abs(reading.error - settled) <= kSettleCents;
        });
        ASSERT_NE(first, readings.end());
        if (first->afterOnset <= settleSamples) ++settledInTime;
        slowest = std::max(slowest, first->afterOnset);
    }
    std::printf("onset %2.0f %% into a hop: %zu of %zu plucks within a cent of their last reading in 150 ms, "
                "the slowest after %.0f ms\n",
                GetParam() * 100.0, settledInTime, cases.size(),
                1000.0 * static_cast<double>(slowest) / guide_testing::kCaptureRate);
    EXPECT_GE(static_cast<double>(settledInTime), 0.9 * static_cast<double>(cases.size()));
}

TEST_P(GuideAccuracy, ASteadyStringVariesByATenthOfACentRmsFromReadingToReading) {
    double mostVaried = 0.0;
    for (const PluckCase& pluck : accuracyTable(GetParam())) {
        SCOPED_TRACE(testing::Message() << pluck.pitch << " Hz " << pluck.cents << " cents");
        const auto readings = readPluck(pluck);
        double sumOfSquares = 0.0;
        size_t steps = 0;
        for (size_t i = 1; i < readings.size(); ++i) {
            if (readings[i - 1].afterOnset < guide::kLongestWindow) continue;
            sumOfSquares += std::pow(readings[i].error - readings[i - 1].error, 2.0);
            ++steps;
        }
        ASSERT_GT(steps, 0u);
        const double rms = std::sqrt(sumOfSquares / static_cast<double>(steps));
        EXPECT_LE(rms, kSteadyToleranceCents);
        mostVaried = std::max(mostVaried, rms);
    }
    std::printf("onset %2.0f %% into a hop: readings vary by at most %.4f cents rms\n", GetParam() * 100.0, mostVaried);
}

INSTANTIATE_TEST_SUITE_P(OnsetIntoAHop, GuideAccuracy, testing::Values(0.1, 0.5, 0.9));

struct ToneCase {
    const char* name;
    std::vector<double> strengths;  // of the partials, the fundamental's first
};

TEST(GuideNaming, NamesEachCoursesFundamentalInSinesAndTonesWithWeakOrMissingFundamentals) {
    const ToneCase tones[] = {
        {"a pure sine", {1.0}},
        {"a weak fundamental", {0.1, 1.0, 0.7, 0.5, 0.3}},
        {"no fundamental", {0.0, 1.0, 0.6, 0.5, 0.3, 0.2}},
        {"an octave louder than the fundamental, as a harp's attack", {0.4, 1.0, 0.15, 0.3}},
        {"a strong twelfth", {0.3, 0.2, 1.0, 0.1}},
    };
    for (const ToneCase& tone : tones) {
        for (const double pitch : kCoursePitches) {
            for (const double level : {0.01, 0.3}) {
                SCOPED_TRACE(testing::Message() << tone.name << " at " << pitch << " Hz, level " << level);
                const auto samples = guide_testing::steadyTone(pitch, tone.strengths, pitch_testing::kSamplesPerSecond, level);
                const auto readings = guide_testing::readingsOf(samples);
                for (const auto& reading : readings) {
                    if (reading.heard < guide::kShortestWindow) continue;
                    ASSERT_NE(reading.frequency, 0.0) << reading.heard;
                    // Right, and close: a quiet tone's first readings rest on little sound.
                    EXPECT_NEAR(centsBetween(reading.frequency, pitch), 0.0, tuner::kInTuneCents) << reading.heard;
                }
            }
        }
    }
}

TEST(GuideNaming, SaysNothingOfSilenceOrOfNoise) {
    const std::vector<int16_t> silence(8192, 0);
    const auto noise = pitch_testing::pluckedString({.level = 0.0, .noise = 0.05}, 8192);
    for (const auto* samples : {&silence, &noise}) {
        for (const auto& reading : guide_testing::readingsOf(*samples)) EXPECT_EQ(reading.frequency, 0.0);
    }
}

}  // namespace
