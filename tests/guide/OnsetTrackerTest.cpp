// Where a pluck begins: placed to within a few samples wherever it falls in a
// block; a second string plucked while the first rings counts, two strings of
// a course beating against each other and a steady noise do not.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "guide/OnsetTracker.h"
#include "tests/guide/GuideSignals.h"

namespace {

std::optional<uint64_t> onsetOf(const std::vector<int16_t>& samples, size_t piece = 512) {
    guide::OnsetTracker tracker;
    for (size_t first = 0; first < samples.size(); first += piece) {
        tracker.take(std::span(samples).subspan(first, std::min(piece, samples.size() - first)), first);
    }
    return tracker.latestOnset();
}

TEST(OnsetTracker, PlacesAPluckToWithinAFewSamplesWhereverItFalls) {
    for (const size_t leadIn : {1000u, 1024u, 1100u, 1151u, 1279u}) {
        for (const double pitch : guide_testing::kCoursePitches) {
            SCOPED_TRACE(testing::Message() << leadIn << " samples in, " << pitch << " Hz");
            const auto samples = guide_testing::pluckAfter(leadIn, {.frequency = pitch}, 4096);
            const auto onset = onsetOf(samples);
            ASSERT_TRUE(onset);
            // Never before the pluck, and at most a small part of its first period after.
            EXPECT_GE(*onset, leadIn);
            EXPECT_LE(*onset, leadIn + 3);
        }
    }
}

TEST(OnsetTracker, HearsTheSameWhateverPiecesTheSamplesComeIn) {
    const auto samples = guide_testing::pluckAfter(1151, {.frequency = pitch_testing::kA4}, 4096);
    for (const size_t piece : {1u, 100u, 128u, 512u, 4096u}) EXPECT_EQ(onsetOf(samples, piece), onsetOf(samples));
}

TEST(OnsetTracker, HearsAStringPluckedWhileAnotherRings) {
    auto samples = pitch_testing::pluckedString({.frequency = pitch_testing::kE4}, pitch_testing::kSamplesPerSecond);
    const auto second = pitch_testing::pluckedString({.frequency = pitch_testing::kA4, .level = 0.1}, 4000);
    constexpr size_t kSecondAt = 10000;
    for (size_t n = 0; n < second.size(); ++n) samples[kSecondAt + n] = static_cast<int16_t>(samples[kSecondAt + n] + second[n]);
    const auto onset = onsetOf(samples);
    ASSERT_TRUE(onset);
    EXPECT_NEAR(static_cast<double>(*onset), kSecondAt, 128.0);
}

TEST(OnsetTracker, TakesNoBeatingNorSteadyNoiseForAPluck) {
    // The two strings of a course 8 cents apart: they swell and fade three times a second.
    auto course = pitch_testing::pluckedString({.frequency = pitch_testing::kA4}, 28078);
    const auto partner = pitch_testing::pluckedString({.frequency = pitch_testing::detuned(pitch_testing::kA4, 8.0)}, 28078);
    for (size_t n = 0; n < course.size(); ++n) course[n] = static_cast<int16_t>(course[n] + partner[n]);
    const auto noise = pitch_testing::pluckedString({.level = 0.0, .noise = 0.01}, 28078);
    const std::vector<int16_t>* sounds[] = {&course, &noise};
    for (const auto* samples : sounds) {
        // The sound's own start, and nothing after it.
        const auto onset = onsetOf(*samples);
        ASSERT_TRUE(onset);
        EXPECT_LT(*onset, guide::OnsetTracker::kBlockSamples);
    }
}

TEST(OnsetTracker, ForgetsEverythingOnRestart) {
    guide::OnsetTracker tracker;
    const auto samples = guide_testing::pluckAfter(600, {.frequency = pitch_testing::kA4}, 1000);
    tracker.take(samples, 0);
    ASSERT_TRUE(tracker.latestOnset());
    tracker.restart();
    EXPECT_FALSE(tracker.latestOnset());
}

}  // namespace
