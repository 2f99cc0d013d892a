// Both strings of a course on synthetic plucks: the table of pairs (two
// fading plucks 0 to 8 cents apart at each unison course, equal or 6 dB
// apart, with and without stiff strings' stretched partials), the octave
// course's second string from -20 to +20 cents, the needle through the
// beat, and a chosen course read however far its string lies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "tests/guide/GuideSignals.h"
#include "tuner/TuningGuide.h"

namespace {

using guide_testing::CourseString;
using guide_testing::kCaptureRate;
using pitch_testing::centsBetween;
using pitch_testing::detuned;

constexpr size_t kThreeSeconds = 3 * pitch_testing::kSamplesPerSecond;
constexpr double kSpreadToleranceCents = 0.5;
constexpr double kOctaveToleranceCents = 1.0;
constexpr double kStiffness = 3e-4;  // the fifth partial some 6 cents sharp
constexpr double kSixDecibels = 0.5;

double secondsOf(const guide::GuideReading& reading) { return static_cast<double>(reading.heard) / kCaptureRate; }

struct PairCase {
    int course;
    double spread;  // cents between the strings
    double weaker;  // the second string's level against the first's
    double stiffness;
};

std::vector<PairCase> pairTable(int course) {
    std::vector<PairCase> cases;
    for (const double spread : {0.0, 0.5, 1.0, 2.0, 3.0, 5.0, 8.0}) {
        for (const double weaker : {1.0, kSixDecibels}) {
            for (const double stiffness : {0.0, kStiffness}) cases.push_back({course, spread, weaker, stiffness});
        }
    }
    return cases;
}

double pitchOf(int course) { return tuner::guideCourses()[static_cast<size_t>(course - 1)].hertz; }

// When the spread is first told, and whether every spread told is right.
struct SpreadTold {
    std::optional<double> firstSeconds;
    double worstError = 0.0;  // cents, of every spread told
    bool allInUnison = true;
};

SpreadTold spreadsOf(const std::vector<guide::GuideReading>& readings, double truth) {
    SpreadTold told;
    for (const auto& reading : readings) {
        if (!reading.pair.spread) continue;
        if (!told.firstSeconds) told.firstSeconds = secondsOf(reading);
        told.worstError = std::max(told.worstError, std::abs(*reading.pair.spread - truth));
        told.allInUnison = told.allInUnison && guide::inUnison(*reading.pair.spread);
    }
    return told;
}

class PairTable : public testing::TestWithParam<int> {};

TEST_P(PairTable, ToldWithinHalfACentInThreeSecondsAndInUnisonWithinHalfACent) {
    for (const PairCase& pair : pairTable(GetParam())) {
        SCOPED_TRACE(testing::Message() << "course " << pair.course << ", " << pair.spread << " cents apart, weaker "
                                        << pair.weaker << ", stiffness " << pair.stiffness);
        const double pitch = pitchOf(pair.course);
        // The second string a little behind the first, as one finger strikes them.
        const CourseString strings[] = {{detuned(pitch, -pair.spread / 2.0), 0.1, pair.stiffness, 0.0},
                                        {detuned(pitch, pair.spread / 2.0), 0.1 * pair.weaker, pair.stiffness, 0.8}};
        const auto readings = guide_testing::readingsOf(guide_testing::stringsTogether(strings, kThreeSeconds));
        const SpreadTold told = spreadsOf(readings, pair.spread);
        ASSERT_TRUE(told.firstSeconds);
        std::printf("course %d  %3.1f cents apart  %s  %s  told after %.2f s, worst %.3f cents off\n", pair.course,
                    pair.spread, pair.weaker == 1.0 ? "equal " : "-6 dB ", pair.stiffness > 0.0 ? "stiff" : "plain",
                    *told.firstSeconds, told.worstError);
        if (pair.spread <= guide::kUnisonCents) {
            EXPECT_TRUE(told.allInUnison);
        } else if (pair.spread >= 2.0) {
            EXPECT_LE(told.worstError, kSpreadToleranceCents);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(UnisonCourses, PairTable, testing::Values(1, 2, 4, 5));

TEST(OctaveCourse, TellsTheOctaveStringsOffsetWithinACent) {
    const double lower = pitchOf(3);
    for (const double cents : {-20.0, -5.0, 0.0, 5.0, 20.0}) {
        for (const double weaker : {1.0, kSixDecibels}) {
            for (const double stiffness : {0.0, kStiffness}) {
                SCOPED_TRACE(testing::Message() << "octave string " << cents << " cents, weaker " << weaker
                                                << ", stiffness " << stiffness);
                const CourseString strings[] = {{lower, 0.1, stiffness, 0.0},
                                                {detuned(2.0 * lower, cents), 0.1 * weaker, stiffness, 0.8}};
                const auto readings = guide_testing::readingsOf(guide_testing::stringsTogether(strings, kThreeSeconds));
                std::optional<double> first;
                double worst = 0.0;
                for (const auto& reading : readings) {
                    EXPECT_EQ(reading.frequency == 0.0 ? 3 : reading.pair.course, 3);
                    if (!reading.pair.octave) continue;
                    if (!first) first = secondsOf(reading);
                    worst = std::max(worst, std::abs(*reading.pair.octave - cents));
                }
                ASSERT_TRUE(first);
                std::printf("octave string %+5.1f cents  %s  %s  told after %.2f s, worst %.3f cents off\n", cents,
                            weaker == 1.0 ? "equal " : "-6 dB ", stiffness > 0.0 ? "stiff" : "plain", *first, worst);
                EXPECT_LE(worst, kOctaveToleranceCents);
            }
        }
    }
}

TEST(PairNeedle, PointsBetweenTheStringsThroughTheBeat) {
    size_t readings = 0;
    size_t misled = 0;
    for (const int course : {1, 2, 4, 5}) {
        const double pitch = pitchOf(course);
        // Strings within the in-tune band, 4 and 6 cents apart, the louder one either.
        for (const auto& [first, second] : {std::pair{-1.0, 3.0}, {3.0, -1.0}, {-2.0, 4.0}, {4.0, -2.0}}) {
            const CourseString strings[] = {{detuned(pitch, first), 0.1, 0.0, 0.0},
                                            {detuned(pitch, second), 0.1 * kSixDecibels, 0.0, 0.8}};
            const auto heard = guide_testing::readingsOf(guide_testing::stringsTogether(strings, kThreeSeconds));
            for (const auto& reading : heard) {
                const auto guidance = tuner::guideFrequency(reading.needleFrequency());
                if (!guidance) continue;
                ++readings;
                if (guidance->direction != tuner::TuningDirection::InTune) ++misled;
                const double cents = centsBetween(reading.needleFrequency(), pitch);
                EXPECT_GE(cents, std::min(first, second) - 0.5) << "course " << course << " at " << secondsOf(reading);
                EXPECT_LE(cents, std::max(first, second) + 0.5) << "course " << course << " at " << secondsOf(reading);
            }
        }
    }
    std::printf("tune up/down in %zu of %zu readings of pairs within the in-tune band\n", misled, readings);
    EXPECT_EQ(misled, 0u);
}

struct ChosenCase {
    int course;
    double pitch;  // of the string plucked
    double cents;  // from the chosen course's pitch
};

TEST(ChosenCourse, ReadsTheStringAgainstTheChosenCourseHoweverFarAndNeverItsNeighbour) {
    const ChosenCase cases[] = {{2, pitch_testing::kA4, -110.0},
                                {5, pitch_testing::kG4, 110.0},
                                {3, pitch_testing::kE4, -700.0},
                                {1, pitch_testing::kE5, 1150.0}};
    for (const ChosenCase& chosen : cases) {
        SCOPED_TRACE(testing::Message() << "course " << chosen.course << " " << chosen.cents << " cents");
        const double truth = detuned(chosen.pitch, chosen.cents);
        const CourseString strings[] = {{truth}, {detuned(truth, 3.0), 0.05}};
        const auto readings =
            guide_testing::readingsOf(guide_testing::stringsTogether(strings, kThreeSeconds), chosen.course);
        size_t read = 0;
        for (const auto& reading : readings) {
            if (reading.frequency == 0.0) continue;
            ++read;
            EXPECT_EQ(reading.pair.course == 0 ? chosen.course : reading.pair.course, chosen.course);
            const auto guidance = tuner::guideToCourse(reading.needleFrequency(),
                                                       sound::kCourses[static_cast<size_t>(chosen.course - 1)]);
            ASSERT_TRUE(guidance) << secondsOf(reading);
            EXPECT_EQ(guidance->course->number, chosen.course);
            EXPECT_NEAR(guidance->cents, chosen.cents + 1.0, 2.0) << secondsOf(reading);
        }
        EXPECT_GT(read, 70u);
        EXPECT_TRUE(readings.back().pair.spread);
    }
}

}  // namespace
