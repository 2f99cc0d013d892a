// The tuning guide on the tuner screen: shown on loud ticks from the refined
// frequency beside the match's own texts, cleared below the bottom limit and
// far from every course, held between the limits, and worked out only when a
// new buffer has been estimated.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "tests/support/CommaLocale.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

double detuned(double frequency, double cents) { return frequency * std::pow(2.0, cents / 1200.0); }

class TuningGuideDisplayTest : public TunerScreenTest {
protected:
    // A loud tick on a new buffer whose bin reads `coarse` and whose refined
    // frequency is `refined`.
    void tickWithRefined(float level, float coarse, double refined) {
        input->hold(level, coarse);
        input->refined = refined;
        tick();
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
    double refined;
    const char* course;
    const char* cents;
    const char* direction;
    const char* spoken;
    float needle;
};

TEST_F(TuningGuideDisplayTest, ShowsTheCourseTheOffsetTheWayAndTheNeedle) {
    const ShownCase cases[] = {
        {"A4 20 cents flat", detuned(440.0, -20.0), "Course 2 · A4", "-20.0 cents", "▲ tune up",
         "-20.0 cents, tune up", -20.0f},
        {"E4 12 cents sharp", detuned(329.6275569128699, 12.0), "Course 3 · E4", "+12.0 cents", "▼ tune down",
         "+12.0 cents, tune down", 12.0f},
        {"G4 in tune", detuned(391.99543598174927, -4.2), "Course 5 · G4", "-4.2 cents", "● in tune",
         "-4.2 cents, in tune", -4.2f},
        {"E5 over-tightened past the needle's end", detuned(659.2551138257398, 70.0), "Course 1 · E5",
         "+70.0 cents", "▼ tune down", "+70.0 cents, tune down", 70.0f},
    };
    auto screen = makeAppearedScreen();
    screen->guideNeedle->setRange(-50.0f, 50.0f);  // as every layout has it
    for (const auto& shown : cases) {
        SCOPED_TRACE(shown.name);
        tickWithRefined(kLoud, static_cast<float>(shown.refined), shown.refined);
        const Shown guide = guideOn(*screen);
        EXPECT_EQ(guide.course, shown.course);
        EXPECT_EQ(guide.cents, shown.cents);
        EXPECT_EQ(guide.direction, shown.direction);
        EXPECT_EQ(guide.spoken, shown.spoken);
        EXPECT_EQ(guide.needle, shown.needle);
    }
    // The needle pins at its end; the number goes on saying how far.
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
        const char* noString;
    };
    const LanguageCase cases[] = {
        {"en", "Course 2 · A4", "-20.0 cents", "▲ tune up", "-20.0 cents, tune up", "no string near a course"},
        {"es", "Orden 2 · A4", "-20,0 cents", "▲ subir", "-20,0 cents, subir", "ninguna cuerda cerca de un orden"},
        {"fr", "Course 2 · A4", "-20.0 cents", "▲ tune up", "-20.0 cents, tune up", "no string near a course"},
    };
    // Under a comma locale where the machine has one; the languages are checked either way.
    const testing_support::CommaLocale comma;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        platform::Bundle::setMainBundle(
            std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), c.language));
        auto screen = makeAppearedScreen();
        tickWithRefined(kLoud, 434.9f, detuned(440.0, -20.0));
        const Shown guide = guideOn(*screen);
        EXPECT_EQ(guide.course, c.course);
        EXPECT_EQ(guide.cents, c.cents);
        EXPECT_EQ(guide.direction, c.direction);
        EXPECT_EQ(guide.spoken, c.spoken);
        tickWithRefined(kQuiet, 434.9f, detuned(440.0, -20.0));
        EXPECT_EQ(screen->guideNeedle->spokenValue(), c.noString);
    }
}

TEST_F(TuningGuideDisplayTest, LeavesTheMatchsTextsAndLampsAsTheyWere) {
    auto screen = makeAppearedScreen();
    // 20 cents flat: no window holds the bin's frequency.
    tickWithRefined(kLoud, 434.87f, detuned(440.0, -20.0));
    EXPECT_EQ(screen->freq_label->text(), "434.9Hz");
    EXPECT_EQ(screen->noteDisplay->text(), "");
    EXPECT_EQ(pictureIn(screen->LEDDisplay), "");  // untouched
    EXPECT_EQ(screen->guideCents->text(), "-20.0 cents");

    // In the window: the match shows its own texts, whatever the guide says.
    tickWithRefined(kLoud, 440.0f, detuned(440.0, 1.3));
    EXPECT_EQ(screen->freq_label->text(), "440Hz");
    EXPECT_EQ(screen->noteDisplay->text(), "A4");
    EXPECT_EQ(pictureIn(screen->LEDDisplay), "green64.png");
    EXPECT_EQ(screen->guideCents->text(), "+1.3 cents");

    // Above 700 Hz the match keeps the last pitch's texts; the guide names E5.
    tickWithRefined(kLoud, 670.0f, 670.0);
    EXPECT_EQ(screen->noteDisplay->text(), "A4");
    EXPECT_EQ(screen->guideCourse->text(), "Course 1 · E5");
}

TEST_F(TuningGuideDisplayTest, ClearsBelowTheBottomLimitAndFarFromEveryCourse) {
    auto screen = makeAppearedScreen();
    EXPECT_EQ(screen->guideCourse->text(), "");  // nothing before the first loud tick

    tickWithRefined(kLoud, 434.9f, detuned(440.0, -20.0));
    tickWithRefined(kQuiet, 434.9f, detuned(440.0, -20.0));
    EXPECT_EQ(guideOn(*screen).course, "—");
    EXPECT_EQ(guideOn(*screen).cents, "");
    EXPECT_EQ(guideOn(*screen).direction, "");
    EXPECT_FALSE(guideOn(*screen).needle);

    tickWithRefined(kLoud, 434.9f, detuned(440.0, -20.0));
    EXPECT_EQ(guideOn(*screen).cents, "-20.0 cents");
    // 150 cents above E4, between it and G4.
    tickWithRefined(kLoud, 356.6f, detuned(329.6275569128699, 150.0));
    EXPECT_EQ(guideOn(*screen).course, "—");
    EXPECT_FALSE(guideOn(*screen).needle);
}

TEST_F(TuningGuideDisplayTest, HoldsBetweenTheLimits) {
    auto screen = makeAppearedScreen();
    ASSERT_DOUBLE_EQ(screen->settings().limits().bottom, 0.002);
    ASSERT_DOUBLE_EQ(screen->settings().limits().top, 0.0045);
    tickWithRefined(kLoud, 434.9f, detuned(440.0, -20.0));
    tickWithRefined(0.003f, 443.1f, detuned(440.0, 12.0));
    EXPECT_EQ(guideOn(*screen).cents, "-20.0 cents");
}

TEST_F(TuningGuideDisplayTest, WorksOnlyWhenANewBufferHasBeenEstimated) {
    auto screen = makeAppearedScreen();
    tickWithRefined(kLoud, 434.9f, detuned(440.0, -20.0));

    // The same buffer read again: whatever the input would say now is not asked for.
    input->refined = detuned(440.0, 12.0);
    tick();
    EXPECT_EQ(guideOn(*screen).cents, "-20.0 cents");

    // The same buffer after a quiet tick is shown again.
    input->level = kQuiet;
    tick();
    input->level = kLoud;
    tick();
    EXPECT_EQ(guideOn(*screen).cents, "+12.0 cents");

    tickWithRefined(kLoud, 434.9f, detuned(440.0, -7.5));
    EXPECT_EQ(guideOn(*screen).cents, "-7.5 cents");
}

}  // namespace
}  // namespace tuner_tests
