// What the tuner screen adds beside its own behaviour, on a real layout: the
// string buttons dimmed while string sounds are off, the tuning-fork panel's
// hint and Stop button following the tone, and what screen readers are told.

#include <gtest/gtest.h>

#include "platform/ui/Controls.h"
#include "platform/ui/LayoutLoader.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

constexpr const char* kStringSelectors[] = {"play1stStringSound:", "play2ndStringSound:", "play3rdStringSound:",
                                            "play4thStringSound:", "play5thStringSound:", "play6thStringSound:"};

class ScreenAdditionsTest : public TunerScreenTest {
protected:
    // The phone layout's tuner scene around the real screen, loaded and appeared.
    std::shared_ptr<tuner::ViewController> loadScreen() {
        const platform::ControllerFactories classes{
            {"ViewController",
             [this] { return std::make_shared<tuner::ViewController>([] {}, input, confirmations); }}};
        storyboard = platform::Storyboard::storyboardWithName("Main_iPhone12Pro", classes);
        auto screen = std::dynamic_pointer_cast<tuner::ViewController>(storyboard->instantiateInitialViewController());
        screen->viewWillAppear(false);
        return screen;
    }

    static std::vector<bool> stringButtonsEnabled(const tuner::ViewController& screen) {
        std::vector<bool> enabled;
        for (const char* selector : kStringSelectors) {
            for (const auto& control : platform::controlsSending(screen.view(), selector)) {
                enabled.push_back(control->isEnabled());
            }
        }
        return enabled;
    }

    std::shared_ptr<platform::Storyboard> storyboard;
};

TEST_F(ScreenAdditionsTest, StringButtonsAreDisabledWhileStringSoundsAreOff) {
    auto screen = loadScreen();
    ASSERT_EQ(stringButtonsEnabled(*screen), std::vector<bool>(6, true));

    screen->stringSoundsSwitch->userSetOn(false);
    EXPECT_FALSE(screen->stringSounds().stringSoundsOn());
    EXPECT_EQ(stringButtonsEnabled(*screen), std::vector<bool>(6, false));

    screen->stringSoundsSwitch->userSetOn(true);
    EXPECT_EQ(stringButtonsEnabled(*screen), std::vector<bool>(6, true));
}

TEST_F(ScreenAdditionsTest, AStoredSettingOfNoStringSoundsShowsTheButtonsDisabledOnAppearing) {
    loadScreen()->stringSoundsSwitch->userSetOn(false);
    auto again = loadScreen();
    EXPECT_EQ(stringButtonsEnabled(*again), std::vector<bool>(6, false));
}

TEST_F(ScreenAdditionsTest, TheForkPanelShowsStopOnlyWhileAToneIsPlaying) {
    auto screen = loadScreen();
    ASSERT_NE(screen->tuningForkHint, nullptr);
    ASSERT_NE(screen->tuningForkStopButton, nullptr);
    EXPECT_FALSE(screen->tuningForkHint->isHidden());
    EXPECT_EQ(screen->tuningForkHint->text(), "Choose a string");
    EXPECT_TRUE(screen->tuningForkStopButton->isHidden());
    EXPECT_EQ(screen->tfnoteDisplay->text(), "") << "no lone placeholder before a note is chosen";

    screen->playA440Hz(nullptr);
    EXPECT_TRUE(screen->tuningForkHint->isHidden());
    EXPECT_FALSE(screen->tuningForkStopButton->isHidden());
    EXPECT_EQ(screen->tfnoteDisplay->text(), "A4");

    screen->tuningForkStopButton->userTap();
    EXPECT_EQ(screen->curPlayState(), sound::TuningFork::kStopped);
    EXPECT_FALSE(screen->tuningForkHint->isHidden());
    EXPECT_TRUE(screen->tuningForkStopButton->isHidden());
}

TEST_F(ScreenAdditionsTest, ScreenReadersHearTheLampTheLitStringAndTheSettings) {
    auto screen = loadScreen();
    EXPECT_EQ(screen->LEDDisplay->accessibilityLabel(), "Lamp");
    EXPECT_EQ(screen->LEDDisplay->accessibilityValue(), "not in tune");
    EXPECT_EQ(screen->tunedString5->accessibilityLabel(), "String lit");
    EXPECT_EQ(screen->micSensitivitySlider->accessibilityLabel(), "Microphone sensitivity");
    EXPECT_EQ(screen->micSensitivitySlider->accessibilityValue(), "5");
    EXPECT_EQ(screen->stringSoundsSwitch->accessibilityLabel(), "String sounds");

    tickWith(kLoud, 440.0f);
    EXPECT_EQ(screen->LEDDisplay->accessibilityValue(), "in tune");
    EXPECT_EQ(screen->tunedString5->accessibilityValue(), "A4, strings 3 and 4");
    tickWith(kLoud, 392.0f);
    EXPECT_EQ(screen->tunedString5->accessibilityValue(), "G4, strings 9 and 10");
    tickWith(kQuiet, 0.0f);
    EXPECT_EQ(screen->LEDDisplay->accessibilityValue(), "not in tune");
    EXPECT_EQ(screen->tunedString5->accessibilityValue(), "");

    screen->micSensitivitySlider->userSetValue(8.0f);
    EXPECT_EQ(screen->micSensitivitySlider->accessibilityValue(), "8");
}

TEST_F(ScreenAdditionsTest, EachStringSoundButtonIsNamedForTheStringsItPlays) {
    auto screen = loadScreen();
    const std::pair<const char*, const char*> expected[] = {
        {"play1stStringSound:", "E5, strings 1 and 2"}, {"play2ndStringSound:", "A4, strings 3 and 4"},
        {"play3rdStringSound:", "E4, string 5"},        {"play4thStringSound:", "E5, string 6"},
        {"play5thStringSound:", "C5, strings 7 and 8"}, {"play6thStringSound:", "G4, strings 9 and 10"}};
    for (const auto& [selector, name] : expected) {
        const auto buttons = platform::controlsSending(screen->view(), selector);
        ASSERT_EQ(buttons.size(), 1u) << selector;
        EXPECT_EQ(buttons[0]->accessibilityLabel(), name) << selector;
    }
}

}  // namespace
}  // namespace tuner_tests
