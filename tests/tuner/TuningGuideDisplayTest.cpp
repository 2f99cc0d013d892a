// The tuning guide on the tuner screen, from the guide's own readings: the
// course, the offset, the way and the needle near a course; the chromatic
// note and the way to the nearest course far from every course; gated by the
// sensitivity's limits on the stream's own level; apart from the match's
// texts and lamps; the needle gliding between readings.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "tests/support/CommaLocale.h"
#include "tests/tuner/GuidePitches.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

class TuningGuideDisplayTest : public TunerScreenTest {
protected:
    // The guide hears `frequency` at `level` and a tick shows it.
    void tickOnGuide(float level, double frequency) {
        guideInput->hand(level, frequency);
        tick();
    }
    // The same, then ticks until the needle has come to rest.
    void settleOnGuide(float level, double frequency) {
        tickOnGuide(level, frequency);
        runFor(0.2);
    }

    struct Shown {
        std::string course, cents, direction, spoken;
        std::optional<float> needle;
    };
    static Shown guideOn(const tuner::ViewController& screen) {
        return {screen.guideCourse->text(), screen.guideCents->text(), screen.guideDirection->text(),
                screen.guideNeedle->spokenValue(), screen.guideNeedle->value()};
    }
};

struct ShownCase {
    const char* name;
    double frequency;
    const char* course;
    const char* cents;
    const char* direction;
    const char* spoken;
    float needle;
};

TEST_F(TuningGuideDisplayTest, ShowsTheCourseNearItAndTheChromaticNoteAndTheWayFarFromEveryCourse) {
    const ShownCase cases[] = {
        {"A4 20 cents flat", detuned(kA4, -20.0), "Course 2 · A4", "-20.0 cents", "▲ tune up",
         "-20.0 cents, tune up", -20.0f},
        {"E4 12 cents sharp", detuned(kE4, 12.0), "Course 3 · E4", "+12.0 cents", "▼ tune down",
         "+12.0 cents, tune down", 12.0f},
        {"G4 in tune", detuned(kG4, -4.2), "Course 5 · G4", "-4.2 cents", "● in tune", "-4.2 cents, in tune", -4.2f},
        {"E5 over-tightened past the needle's end", detuned(kE5, 70.0), "Course 1 · E5", "+70.0 cents",
         "▼ tune down", "+70.0 cents, tune down", 70.0f},
        {"a new string at D4, far below E4", detuned(kD4, -10.0), "D4 -10.0", "", "E4: tune up 210 cents",
         "D4 -10.0, E4: tune up 210 cents", -210.0f},
        {"A4 tightened to A#4", detuned(kASharp4, 5.0), "A#4 +5.0", "", "A4: tune down 105 cents",
         "A#4 +5.0, A4: tune down 105 cents", 105.0f},
    };
    auto screen = makeAppearedScreen();
    screen->guideNeedle->setRange(-50.0f, 50.0f);  // as every layout has it
    for (const auto& shown : cases) {
        SCOPED_TRACE(shown.name);
        settleOnGuide(kLoud, shown.frequency);
        const Shown guide = guideOn(*screen);
        EXPECT_EQ(guide.course, shown.course);
        EXPECT_EQ(guide.cents, shown.cents);
        EXPECT_EQ(guide.direction, shown.direction);
        EXPECT_EQ(guide.spoken, shown.spoken);
        ASSERT_TRUE(guide.needle);
        EXPECT_NEAR(*guide.needle, shown.needle, 0.051f);
    }
    // The needle pins at its end; the texts go on saying how far.
    EXPECT_EQ(screen->guideNeedle->needlePosition(), 50.0f);
}

// The offset takes the language's decimal separator, not the process locale's.
TEST_F(TuningGuideDisplayTest, SpeaksTheLanguageInUseWithItsDecimalSeparatorWhateverTheLocale) {
    struct LanguageCase {
        const char* language;
        const char* course;
        const char* cents;
        const char* direction;
        const char* spoken;
        const char* far;
        const char* noString;
    };
    const LanguageCase cases[] = {
        {"en", "Course 2 · A4", "-20.0 cents", "▲ tune up", "-20.0 cents, tune up", "E4: tune up 210 cents",
         "no string near a course"},
        {"es", "Orden 2 · A4", "-20,0 cents", "▲ subir", "-20,0 cents, subir", "E4: subir 210 cents",
         "ninguna cuerda cerca de un orden"},
        {"fr", "Course 2 · A4", "-20.0 cents", "▲ tune up", "-20.0 cents, tune up", "E4: tune up 210 cents",
         "no string near a course"},
    };
    // Under a comma locale where the machine has one; the languages are checked either way.
    const testing_support::CommaLocale comma;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        platform::Bundle::setMainBundle(
            std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), c.language));
        auto screen = makeAppearedScreen();
        tickOnGuide(kLoud, detuned(kA4, -20.0));
        const Shown guide = guideOn(*screen);
        EXPECT_EQ(guide.course, c.course);
        EXPECT_EQ(guide.cents, c.cents);
        EXPECT_EQ(guide.direction, c.direction);
        EXPECT_EQ(guide.spoken, c.spoken);
        tickOnGuide(kLoud, detuned(kD4, -10.0));
        EXPECT_EQ(guideOn(*screen).direction, c.far);
        tickOnGuide(kQuiet, 0.0);
        EXPECT_EQ(screen->guideNeedle->spokenValue(), c.noString);
    }
}

TEST_F(TuningGuideDisplayTest, ShowsItsOwnReadingWhateverTheDetectorSays) {
    auto screen = makeAppearedScreen();
    // The detector matches A4 (the lamps, the note, its frequency); the guide hears E5.
    input->hold(kLoud, 440.0f);
    tickOnGuide(kLoud, detuned(kE5, -3.0));
    EXPECT_EQ(screen->noteDisplay->text(), "A4");
    EXPECT_EQ(screen->freq_label->text(), "440Hz");
    EXPECT_EQ(pictureIn(screen->LEDDisplay), "green64.png");
    EXPECT_EQ(screen->guideCourse->text(), "Course 1 · E5");
    EXPECT_EQ(screen->guideCents->text(), "-3.0 cents");

    // The detector hears nothing loud enough; the guide's own level is.
    input->hold(kQuiet, 0.0f);
    tickOnGuide(kLoud, detuned(kG4, 8.0));
    EXPECT_EQ(screen->noteDisplay->text(), "");
    EXPECT_EQ(screen->guideCourse->text(), "Course 5 · G4");
}

TEST_F(TuningGuideDisplayTest, ClearsBelowTheBottomLimitHoldsUpToTheTopAndWhileNoFundamentalIsHeard) {
    auto screen = makeAppearedScreen();
    ASSERT_DOUBLE_EQ(screen->settings().limits().bottom, 0.002);
    ASSERT_DOUBLE_EQ(screen->settings().limits().top, 0.0045);
    EXPECT_EQ(screen->guideCourse->text(), "");  // nothing before the first reading

    tickOnGuide(kLoud, detuned(kA4, -20.0));
    tickOnGuide(0.003f, detuned(kA4, 12.0));  // between the limits
    EXPECT_EQ(guideOn(*screen).cents, "-20.0 cents");
    tickOnGuide(kLoud, 0.0);  // loud, but no fundamental
    EXPECT_EQ(guideOn(*screen).cents, "-20.0 cents");
    tick();  // no reading at all
    EXPECT_EQ(guideOn(*screen).cents, "-20.0 cents");

    tickOnGuide(kQuiet, detuned(kA4, -20.0));
    EXPECT_EQ(guideOn(*screen).course, "—");
    EXPECT_EQ(guideOn(*screen).cents, "");
    EXPECT_EQ(guideOn(*screen).direction, "");
    EXPECT_FALSE(guideOn(*screen).needle);
}

TEST_F(TuningGuideDisplayTest, ShowsTheLatestOfTheReadingsATickFinds) {
    auto screen = makeAppearedScreen();
    for (int i = 0; i < 40; ++i) guideInput->hand(kLoud, detuned(kA4, -30.0 + i));
    tick();
    EXPECT_EQ(guideOn(*screen).cents, "+9.0 cents");
    EXPECT_TRUE(guideInput->waiting.empty());
}

TEST_F(TuningGuideDisplayTest, TheNeedleGlidesBetweenReadingsOfACourseAndJumpsToAnotherCourseOrPastItsEnds) {
    auto screen = makeAppearedScreen();
    screen->guideNeedle->setRange(-50.0f, 50.0f);
    settleOnGuide(kLoud, detuned(kA4, -20.0));
    ASSERT_NEAR(*screen->guideNeedle->value(), -20.0f, 0.05f);

    // The next reading: the needle goes there in even steps, and is there before the reading after it.
    tickOnGuide(kLoud, detuned(kA4, 10.0));
    EXPECT_NEAR(*screen->guideNeedle->value(), -10.0f, 0.051f);
    EXPECT_EQ(screen->guideNeedle->spokenValue(), "+10.0 cents, tune down");  // the words are the reading's
    tick();
    EXPECT_NEAR(*screen->guideNeedle->value(), 0.0f, 0.051f);
    tick();
    EXPECT_NEAR(*screen->guideNeedle->value(), 10.0f, 0.051f);

    // Another course, or past the scale's end: where the reading says at once.
    tickOnGuide(kLoud, detuned(kE4, -8.0));
    EXPECT_NEAR(*screen->guideNeedle->value(), -8.0f, 0.051f);
    tickOnGuide(kLoud, detuned(kE4, 80.0));
    EXPECT_NEAR(*screen->guideNeedle->value(), 80.0f, 0.051f);

    // After a silence the needle comes back where the reading is.
    tickOnGuide(kQuiet, 0.0);
    tickOnGuide(kLoud, detuned(kE4, -30.0));
    EXPECT_NEAR(*screen->guideNeedle->value(), -30.0f, 0.051f);
}

TEST_F(TuningGuideDisplayTest, EveryReadingAddsItsOffsetToTheTraceAtItsTimeAndAGapWhereNothingWasHeard) {
    auto screen = makeAppearedScreen();
    guideInput->hand(kLoud, detuned(kA4, -20.0));
    guideInput->hand(kLoud, detuned(kA4, -12.0));
    guideInput->hand(kQuiet, 0.0);
    guideInput->hand(kLoud, detuned(kD4, -10.0));  // far off: the nearest course's offset
    tick();
    const auto& trace = *screen->guideTrace;
    ASSERT_EQ(trace.size(), 4u);
    const double hop = static_cast<double>(guide::kHopSamples) / HeldGuideInput::kSampleRate;
    const std::optional<float> expected[] = {-20.0f, -12.0f, std::nullopt, -210.0f};
    for (size_t i = 0; i < trace.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(trace.point(i).time, static_cast<double>(i + 1) * hop, 1e-9);
        ASSERT_EQ(trace.point(i).value.has_value(), expected[i].has_value());
        if (expected[i]) {
            EXPECT_NEAR(*trace.point(i).value, *expected[i], 0.051f);
        }
    }
    EXPECT_EQ(trace.spokenValue(), "D4 -10.0, E4: tune up 210 cents");
}

}  // namespace
}  // namespace tuner_tests
