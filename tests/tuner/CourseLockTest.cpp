// The guide locked on a course the user chose: the offset from that course's
// pitch however far, up to an octave either way, in semitones and cents
// beyond a semitone ("tune up 1 semitone + 10 cents"); never a neighbour's,
// however near its pitch; released by Auto. The row of courses shows the
// choice in force, and a screen reader hears which course is locked.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/tuner/GuidePitches.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

class CourseLockTest : public TunerScreenTest {
protected:
    void hear(double frequency) {
        guideInput->hand(kLoud, frequency);
        tick();
    }
    // The texts the guide shows: course, cents and way.
    static std::string shown(const tuner::ViewController& screen) {
        return screen.guideCourse->text() + " | " + screen.guideCents->text() + " | " + screen.guideDirection->text();
    }
};

struct LockCase {
    const char* name;
    int course;
    double frequency;
    const char* shown;
    std::optional<float> needle;  // where it points, pinned at the scale's ends
};

TEST_F(CourseLockTest, ReadsTheChosenCoursesOffsetHoweverFarUpToAnOctave) {
    const LockCase cases[] = {
        {"A4 110 cents flat", 2, detuned(kA4, -110.0), "Course 2 · A4 | -110.0 cents | ▲ tune up 1 semitone + 10 cents",
         -50.0f},
        {"G4 110 cents sharp", 5, detuned(kG4, 110.0),
         "Course 5 · G4 | +110.0 cents | ▼ tune down 1 semitone + 10 cents", 50.0f},
        {"A4 seven semitones flat", 2, detuned(kA4, -700.0), "Course 2 · A4 | -700.0 cents | ▲ tune up 7 semitones",
         -50.0f},
        {"A4 an octave flat", 2, kA4 / 2.0, "Course 2 · A4 | -1200.0 cents | ▲ tune up 12 semitones", -50.0f},
        {"A4 30 cents flat", 2, detuned(kA4, -30.0), "Course 2 · A4 | -30.0 cents | ▲ tune up", -30.0f},
        {"the octave course's E4 string within a semitone", 3, detuned(kE4, 99.9),
         "Course 3 · E4 | +99.9 cents | ▼ tune down", 50.0f},
        {"beyond an octave: no guidance", 2, detuned(kA4, -1300.0), "— |  | ", std::nullopt},
    };
    auto screen = makeAppearedScreen();
    screen->guideNeedle->setRange(-50.0f, 50.0f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        screen->lockCourse(c.course);
        EXPECT_EQ(guideInput->chosen, c.course);
        hear(c.frequency);
        runFor(0.1);
        EXPECT_EQ(shown(*screen), c.shown);
        ASSERT_EQ(screen->guideNeedle->value().has_value(), c.needle.has_value());
        if (c.needle) {
            EXPECT_NEAR(*screen->guideNeedle->needlePosition(), *c.needle, 0.051f);
        }
    }
}

TEST_F(CourseLockTest, NeverJumpsToANeighbourAndAutoReleasesTheLock) {
    auto screen = makeAppearedScreen();
    courseButtons[2]->userTap();  // course 2, A4
    EXPECT_EQ(screen->lockedCourse(), 2);
    // A4 slackened all the way down past G4 and F4: still read against A4.
    for (double cents = -20.0; cents >= -500.0; cents -= 40.0) {
        hear(detuned(kA4, cents));
        EXPECT_EQ(screen->guideCourse->text(), "Course 2 · A4") << cents;
    }
    hear(kG4);
    EXPECT_EQ(screen->guideCents->text(), "-200.0 cents");

    courseButtons[0]->userTap();  // Auto
    EXPECT_EQ(screen->lockedCourse(), std::nullopt);
    EXPECT_EQ(guideInput->chosen, std::nullopt);
    hear(kG4);
    EXPECT_EQ(shown(*screen), "Course 5 · G4 | +0.0 cents | ● in tune");
    hear(detuned(kA4, -110.0));
    EXPECT_EQ(shown(*screen), "Course 5 · G4 | +90.0 cents | ▼ tune down") << "the nearest course claims it again";
}

TEST_F(CourseLockTest, TheRowShowsTheChoiceInForceAndTellsAScreenReaderWhichCourseIsLocked) {
    auto screen = makeAppearedScreen();
    const auto selected = [this] {
        std::string row;
        for (const auto& button : courseButtons) row += button->isSelected() ? "x" : ".";
        return row;
    };
    EXPECT_EQ(selected(), "x.....");
    EXPECT_EQ(courseButtons[0]->accessibilityLabel(), "Auto, the nearest course");
    EXPECT_EQ(courseButtons[0]->accessibilityValue(), "on");

    courseButtons[3]->userTap();
    EXPECT_EQ(selected(), "...x..");
    EXPECT_EQ(courseButtons[3]->accessibilityLabel(), "Course 3");
    EXPECT_EQ(courseButtons[3]->accessibilityValue(), "locked");
    EXPECT_EQ(courseButtons[0]->accessibilityValue(), "");

    screen->lockCourse(9);  // no such course: nothing changes
    EXPECT_EQ(screen->lockedCourse(), 3);
    screen->lockCourse(std::nullopt);
    EXPECT_EQ(selected(), "x.....");
}

}  // namespace
}  // namespace tuner_tests
