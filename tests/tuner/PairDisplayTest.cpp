// Both strings of a course beside the guide's needle: the needle shows the
// pair's centre rather than the beating peak; the pair's line says how far
// apart the strings lie and how often they beat, or that they are in unison,
// or, on the octave course, the octave string's own offset; nothing while
// the pair is not measured, and nothing once the sound is gone.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "tests/tuner/GuidePitches.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

using PairDisplayTest = TunerScreenTest;

struct PairCase {
    const char* name;
    double centre;
    guide::PairReading pair;
    const char* line;
    bool hint;  // whether the reminder that beats cannot tell the higher string shows
};

TEST_F(PairDisplayTest, SaysHowFarApartTheStringsLieOrThatTheyAreInUnisonOrTheOctaveStringsOffset) {
    const PairCase cases[] = {
        {"A4 strings 3.9 cents apart", kA4, {2, kA4, 3.94, std::nullopt},
         "Strings 3 · 4: 3.9 cents apart · 1.0 beat/s", true},
        {"G4 strings 2 cents apart beat once in 2.2 s", kG4, {5, kG4, 2.0, std::nullopt},
         "Strings 9 · 10: 2.0 cents apart · 0.5 beat/s", true},
        {"A4 strings half a cent apart", kA4, {2, kA4, 0.5, std::nullopt}, "Strings 3 · 4 in unison", false},
        {"A4 strings not yet measured", kA4, {2, kA4, std::nullopt, std::nullopt}, "", false},
        {"the octave string 20 cents sharp", kE4, {3, kE4, 20.0, 20.0}, "Octave string 6: +20.0 cents ▼", false},
        {"the octave string 7.5 cents flat", kE4, {3, kE4, -7.5, -7.5}, "Octave string 6: -7.5 cents ▲", false},
        {"the octave string in tune", kE4, {3, kE4, 0.3, -0.04}, "Octave string 6: +0.0 cents ●", false},
        {"the octave string not yet measured", kE4, {3, kE4, std::nullopt, std::nullopt}, "", false},
    };
    auto screen = makeAppearedScreen();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        guideInput->hand(kLoud, c.centre, c.pair);
        tick();
        EXPECT_EQ(screen->guidePair->text(), c.line);
        EXPECT_EQ(!screen->guidePairHint->text().empty(), c.hint);
    }
}

TEST_F(PairDisplayTest, TheNeedleShowsThePairsCentreNotTheBeatingPeak) {
    auto screen = makeAppearedScreen();
    screen->guideNeedle->setRange(-50.0f, 50.0f);
    // Two strings at -1 and +3 cents: the window's peak swings to +8.4 as they beat.
    const guide::PairReading pair{2, detuned(kA4, 1.0), 4.0, std::nullopt};
    guideInput->hand(kLoud, detuned(kA4, 8.4), pair);
    tick();
    runFor(0.1);
    EXPECT_EQ(screen->guideCents->text(), "+1.0 cents");
    EXPECT_EQ(screen->guideDirection->text(), "● in tune");
    EXPECT_NEAR(*screen->guideNeedle->value(), 1.0f, 0.051f);
    EXPECT_NEAR(*screen->guideTrace->point(0).value, 1.0f, 0.051f);
}

TEST_F(PairDisplayTest, ClearsWithTheGuideAndSpeaksTheLanguageInUse) {
    platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), "es"));
    auto screen = makeAppearedScreen();
    guideInput->hand(kLoud, kA4, {2, kA4, 3.94, std::nullopt});
    tick();
    EXPECT_EQ(screen->guidePair->text(), "Cuerdas 3 · 4: 3,9 cents de diferencia · 1,0 batidos/s");
    EXPECT_FALSE(screen->guidePairHint->text().empty());
    guideInput->hand(kQuiet, 0.0);
    tick();
    EXPECT_EQ(screen->guidePair->text(), "");
    EXPECT_EQ(screen->guidePairHint->text(), "");
}

}  // namespace
}  // namespace tuner_tests
