// The guide's stream on a live capture: samples reach it through the input
// tap while a detector's queue runs, its worker reads them hop by hop to the
// very readings the analysis makes on one thread, and a taker gets them in
// order, the oldest left out when it falls behind. Run under ThreadSanitizer:
// the capture pushes while the main thread takes.
#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

#include "guide/GuideStream.h"
#include "platform/audio/AudioInputTap.h"
#include "tests/guide/GuideSignals.h"
#include "tests/pitch/CaptureFixture.h"
#include "tuner/GuideInput.h"
#include "tuner/TuningGuide.h"

namespace {

using GuideStream = pitch_testing::CaptureTest;

bool sameReading(const guide::GuideReading& a, const guide::GuideReading& b) {
    return a.heard == b.heard && a.level == b.level && a.frequency == b.frequency;
}

// Three courses plucked one after another, with room noise before them: less
// than the stream's ring holds, since the test pushes faster than a microphone.
std::vector<int16_t> threePlucks() {
    std::vector<int16_t> samples;
    for (const double pitch : {pitch_testing::kE4, pitch_testing::kA4, pitch_testing::kE5}) {
        const auto pluck = guide_testing::pluckAfter(700, {.frequency = pitch}, 4000);
        samples.insert(samples.end(), pluck.begin(), pluck.end());
    }
    return samples;
}

TEST_F(GuideStream, ReadsTheCaptureThroughTheTapAsTheAnalysisDoesOnOneThread) {
    guide::GuideStream stream(guide_testing::kCaptureRate);
    platform::installAudioInputTap({&guide::GuideStream::tapBlock, &stream});
    auto listener = makeListener();
    listener->listen();

    const auto samples = threePlucks();
    std::vector<guide::GuideReading> taken;
    std::thread capture([&] {
        // In pieces of all sizes, as a microphone and a recording deliver them.
        size_t first = 0;
        for (size_t piece = 1; first < samples.size(); piece = piece * 3 % 1021 + 1) {
            const size_t count = std::min(piece, samples.size() - first);
            feeder->push(std::span(samples).subspan(first, count));
            first += count;
        }
        feeder->waitUntilDelivered();
    });
    std::array<guide::GuideReading, 8> batch;
    while (taken.size() < samples.size() / guide::kHopSamples) {
        const size_t count = stream.takeReadings(batch);
        taken.insert(taken.end(), batch.begin(), batch.begin() + static_cast<std::ptrdiff_t>(count));
        std::this_thread::yield();
    }
    capture.join();
    platform::installAudioInputTap({});

    // The last, partial hop is not read until the stream goes on.
    const auto expected = guide_testing::readingsOf(std::span(samples).first(taken.size() * guide::kHopSamples));
    ASSERT_EQ(taken.size(), expected.size());
    for (size_t i = 0; i < taken.size(); ++i) EXPECT_TRUE(sameReading(taken[i], expected[i])) << i;
}

TEST_F(GuideStream, HearsNothingOnceOffTheTapOrWhileNoQueueRuns) {
    guide::GuideStream stream(guide_testing::kCaptureRate);
    auto listener = makeListener();
    listener->listen();
    const auto samples = guide_testing::pluckAfter(0, {.frequency = pitch_testing::kA4}, 4096);
    platform::installAudioInputTap({&guide::GuideStream::tapBlock, &stream});
    listener->pause();
    feeder->push(samples);
    feeder->waitUntilDelivered();
    platform::installAudioInputTap({});
    listener->listen();
    feeder->push(samples);
    feeder->waitUntilDelivered();
    stream.waitUntilRead();
    std::array<guide::GuideReading, 4> batch;
    EXPECT_EQ(stream.takeReadings(batch), 0u);
}

TEST(GuideStreamTaking, HandsReadingsOverOldestFirstAndForgetsThoseTooOldToKeep) {
    guide::GuideStream stream(guide_testing::kCaptureRate);
    const auto samples = guide_testing::pluckAfter(0, {.frequency = pitch_testing::kA4},
                                                   (guide::GuideStream::kKeptReadings + 10) * guide::kHopSamples);
    for (size_t first = 0; first < samples.size(); first += 8192) {
        stream.append(std::span(samples).subspan(first, std::min<size_t>(8192, samples.size() - first)));
        stream.waitUntilRead();  // never a ring's length ahead of the worker
    }
    std::vector<guide::GuideReading> all(guide::GuideStream::kKeptReadings + 10);
    ASSERT_EQ(stream.takeReadings(all), guide::GuideStream::kKeptReadings);
    EXPECT_EQ(all.front().heard, 11 * guide::kHopSamples);  // the ten oldest are gone
    EXPECT_EQ(all[guide::GuideStream::kKeptReadings - 1].heard, samples.size());

    stream.append(std::span(samples).first(3 * guide::kHopSamples));
    stream.waitUntilRead();
    std::array<guide::GuideReading, 2> two;
    ASSERT_EQ(stream.takeReadings(two), 2u);
    EXPECT_EQ(two[0].heard, samples.size() + guide::kHopSamples);  // the oldest two first
    ASSERT_EQ(stream.takeReadings(two), 1u);
    EXPECT_EQ(two[0].heard, samples.size() + 3 * guide::kHopSamples);
    EXPECT_EQ(stream.takeReadings(two), 0u);
}

// Pairs whose strings lie within the in-tune band, 4 and 6 cents apart, at
// each course whose strings sound alike, plucked one after another into the
// capture: the screen's stream measures their spread, and once it has found
// the pair's centre its needle says "tune up" or "tune down" on none of the
// readings. (Before that, the first reading of a pluck rests on a window of
// 36 ms and may stray a little past the band's edge.)
TEST_F(GuideStream, TheScreensStreamReadsBothStringsOfACourseAndItsNeedleHoldsThroughTheBeat) {
    constexpr size_t kReadingsPerPluck = 20;
    const auto input = tuner::GuideInput::sharedStream();
    auto listener = makeListener();
    listener->listen();
    input->listen();
    std::array<guide::GuideReading, kReadingsPerPluck> batch;
    for (const double spread : {4.0, 6.0}) {
        size_t readings = 0;
        size_t misled = 0;
        size_t misledOnCentre = 0;
        size_t spreadsTold = 0;
        for (const int course : {1, 2, 4, 5}) {
            const double pitch = tuner::guideCourses()[static_cast<size_t>(course - 1)].hertz;
            const double farthestCentre = tuner::kInTuneCents - spread / 2.0;
            for (const double centre : {-farthestCentre, 0.0, farthestCentre}) {
                SCOPED_TRACE(testing::Message() << "course " << course << ", " << spread << " cents apart around "
                                                << centre);
                const guide_testing::CourseString strings[] = {
                    {pitch_testing::detuned(pitch, centre - spread / 2.0)},
                    {pitch_testing::detuned(pitch, centre + spread / 2.0), 0.1, 0.0, 0.8}};
                feeder->push(guide_testing::stringsTogether(strings, kReadingsPerPluck * guide::kHopSamples));
                feeder->waitUntilDelivered();
                ASSERT_EQ(input->takeReadings(batch), kReadingsPerPluck);
                for (const auto& reading : batch) {
                    // The first readings of a pluck may still hear the one before it.
                    const auto guidance = tuner::nearestCourse(reading.needleFrequency());
                    if (!guidance) continue;
                    ++readings;
                    EXPECT_EQ(reading.pair.course, guidance->course->number);
                    if (reading.pair.spread && reading.pair.course == course) {
                        ++spreadsTold;
                        EXPECT_NEAR(*reading.pair.spread, spread, 0.5);
                    }
                    if (guidance->direction == tuner::TuningDirection::InTune) continue;
                    ++misled;
                    if (reading.pair.centre > 0.0) ++misledOnCentre;
                }
            }
        }
        std::printf("%.0f cents apart: %zu of %zu readings say tune up or down (%zu once the centre is known); "
                    "%zu tell the spread\n",
                    spread, misled, readings, misledOnCentre, spreadsTold);
        EXPECT_EQ(misledOnCentre, 0u);
        EXPECT_GT(spreadsTold, 0u);
    }
    platform::installAudioInputTap({});
}

}  // namespace
