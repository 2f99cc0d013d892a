// The guide's reading of a frequency: the nearest course, the signed offset
// to a tenth of a cent, the direction, and nothing where no course is near;
// beyond that, the nearest course however far and the nearest chromatic note.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tuner/TuningGuide.h"

namespace {

using tuner::TuningDirection;

double detuned(double frequency, double cents) { return frequency * std::pow(2.0, cents / 1200.0); }

constexpr double kE5 = 659.2551138257398;
constexpr double kA4 = 440.0;
constexpr double kE4 = 329.6275569128699;
constexpr double kC5 = 523.2511306011972;
constexpr double kG4 = 391.99543598174927;

TEST(TuningGuide, TakesEachCoursesPitchInEqualTemperament) {
    const double expected[] = {kE5, kA4, kE4, kC5, kG4};
    for (size_t i = 0; i < sound::kCourses.size(); ++i) {
        SCOPED_TRACE(sound::kCourses[i].note);
        EXPECT_NEAR(tuner::equalTemperedPitch(sound::kCourses[i]), expected[i], 1e-9);
    }
}

struct GuideCase {
    std::string name;
    double frequency;
    int course;
    double cents;
    TuningDirection direction;
};

TEST(TuningGuide, NamesTheNearestCourseTheOffsetAndTheWay) {
    const GuideCase cases[] = {
        {"A4 in tune", kA4, 2, 0.0, TuningDirection::InTune},
        {"A4 20 cents flat", detuned(kA4, -20.0), 2, -20.0, TuningDirection::Up},
        {"E4 12 cents sharp", detuned(kE4, 12.0), 3, 12.0, TuningDirection::Down},
        {"G4 at the window's lower edge", detuned(kG4, -5.0), 5, -5.0, TuningDirection::InTune},
        {"C5 just past the window", detuned(kC5, 5.06), 4, 5.1, TuningDirection::Down},
        {"C5 just short of the window", detuned(kC5, -5.06), 4, -5.1, TuningDirection::Up},
        {"E5, the first course and the third's octave string", detuned(kE5, 3.0), 1, 3.0, TuningDirection::InTune},
        {"E4 far flat, as a new string is", detuned(kE4, -99.0), 3, -99.0, TuningDirection::Up},
        {"E5 far sharp", detuned(kE5, 99.9), 1, 99.9, TuningDirection::Down},
        {"nearer A4 than G4", detuned(kG4, 101.0), 2, -99.0, TuningDirection::Up},
        {"a hair flat reads as no offset", detuned(kA4, -0.04), 2, 0.0, TuningDirection::InTune},
    };
    for (const auto& [name, frequency, course, cents, direction] : cases) {
        SCOPED_TRACE(name);
        const auto guidance = tuner::guideFrequency(frequency);
        ASSERT_TRUE(guidance);
        EXPECT_EQ(guidance->course->number, course);
        EXPECT_DOUBLE_EQ(guidance->cents, cents);
        EXPECT_FALSE(std::signbit(guidance->cents) && guidance->cents == 0.0);
        EXPECT_EQ(guidance->direction, direction);
        EXPECT_DOUBLE_EQ(guidance->targetFrequency, tuner::equalTemperedPitch(*guidance->course));
    }
}

TEST(TuningGuide, SaysNothingFarFromEveryCourseOrWithoutAFrequency) {
    const std::pair<const char*, double> cases[] = {
        {"below E4", detuned(kE4, -101.0)},
        {"between E4 and G4", detuned(kE4, 150.0)},
        {"above E5", detuned(kE5, 101.0)},
        {"between C5 and E5", detuned(kC5, 200.0)},
        {"no frequency", 0.0},
        {"negative", -440.0},
        {"not a number", std::numeric_limits<double>::quiet_NaN()},
        {"infinite", std::numeric_limits<double>::infinity()},
    };
    for (const auto& [name, frequency] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(tuner::guideFrequency(frequency));
    }
}

TEST(TuningGuide, NamesTheNearestCourseHoweverFarAndTheWayToIt) {
    const GuideCase cases[] = {
        {"F4 29 cents sharp: nearer E4 than G4", 349.228 * std::pow(2.0, 29.0 / 1200.0), 3, 129.0,
         TuningDirection::Down},
        {"a new G4 string, far flat", detuned(kG4, -140.0), 5, -140.0, TuningDirection::Up},
        {"between E4 and G4", detuned(kE4, 150.0), 3, 150.0, TuningDirection::Down},
        {"an octave below A4", kA4 / 2.0, 3, -700.0, TuningDirection::Up},
        {"within reach, as before", detuned(kA4, -20.0), 2, -20.0, TuningDirection::Up},
    };
    for (const auto& [name, frequency, course, cents, direction] : cases) {
        SCOPED_TRACE(name);
        const auto guidance = tuner::nearestCourse(frequency);
        ASSERT_TRUE(guidance);
        EXPECT_EQ(guidance->course->number, course);
        EXPECT_NEAR(guidance->cents, cents, 0.05);
        EXPECT_EQ(guidance->direction, direction);
        EXPECT_EQ(tuner::isWithinRange(*guidance), std::abs(cents) <= tuner::kGuideRangeCents);
    }
    EXPECT_FALSE(tuner::nearestCourse(0.0));
    EXPECT_FALSE(tuner::nearestCourse(std::numeric_limits<double>::quiet_NaN()));
}

TEST(TuningGuide, GuidesToAChosenCourseAsFarAsAnOctaveEitherWay) {
    const GuideCase cases[] = {
        {"A4 110 cents flat, nearer G4", detuned(kA4, -110.0), 2, -110.0, TuningDirection::Up},
        {"G4 110 cents sharp, nearer A4", detuned(kG4, 110.0), 5, 110.0, TuningDirection::Down},
        {"E4 an octave sharp", detuned(kE4, 1200.0), 3, 1200.0, TuningDirection::Down},
        {"C5 within the band", detuned(kC5, 4.0), 4, 4.0, TuningDirection::InTune},
    };
    for (const auto& [name, frequency, course, cents, direction] : cases) {
        SCOPED_TRACE(name);
        const auto guidance = tuner::guideToCourse(frequency, sound::kCourses[static_cast<size_t>(course - 1)]);
        ASSERT_TRUE(guidance);
        EXPECT_EQ(guidance->course->number, course);
        EXPECT_NEAR(guidance->cents, cents, 0.05);
        EXPECT_EQ(guidance->direction, direction);
    }
    EXPECT_FALSE(tuner::guideToCourse(detuned(kE5, -1201.0), sound::kCourses[0]));
    EXPECT_FALSE(tuner::guideToCourse(0.0, sound::kCourses[0]));
}

TEST(TuningGuide, SplitsAnOffsetIntoSemitonesAndCentsWithItsSign) {
    const struct {
        double offset;
        int semitones;
        double cents;
    } cases[] = {{-110.0, -1, -10.0}, {110.0, 1, 10.0}, {45.3, 0, 45.3}, {99.96, 1, 0.0}, {-1200.0, -12, 0.0}};
    for (const auto& [offset, semitones, cents] : cases) {
        SCOPED_TRACE(offset);
        const auto split = tuner::semitonesAndCents(offset);
        EXPECT_EQ(split.semitones, semitones);
        EXPECT_NEAR(split.cents, cents, 1e-9);
    }
}

struct NoteCase {
    double frequency;
    std::string name;
    int octave;
    double cents;
};

TEST(TuningGuide, NamesTheNearestNoteOfTheChromaticScaleWithItsOctaveAndOffset) {
    const NoteCase cases[] = {
        {440.0, "A", 4, 0.0},
        {349.228 * std::pow(2.0, 29.0 / 1200.0), "F", 4, 29.0},
        {359.5, "F#", 4, -49.8},
        {detuned(261.6256, -12.0), "C", 4, -12.0},
        {detuned(261.6256, -51.0), "B", 3, 49.0},  // across the octave's boundary
        {kE5, "E", 5, 0.0},
        {27.5, "A", 0, 0.0},
        {8.1758, "C", -1, 0.0},
    };
    for (const auto& [frequency, name, octave, cents] : cases) {
        SCOPED_TRACE(frequency);
        const auto note = tuner::chromaticNote(frequency);
        ASSERT_TRUE(note);
        EXPECT_EQ(note->name, name);
        EXPECT_EQ(note->octave, octave);
        EXPECT_NEAR(note->cents, cents, 0.05);
    }
    for (const double nothing : {0.0, -1.0, std::numeric_limits<double>::infinity(), 1e300}) {
        EXPECT_FALSE(tuner::chromaticNote(nothing)) << nothing;
    }
}

}  // namespace
