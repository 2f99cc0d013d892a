// Every layout document's tuner scene built around the real tuner screen:
// each element name binds to an outlet of the right kind, each action a
// control sends exists, and each outlet and action of the screen is used.

#include <gtest/gtest.h>

#include <string>

#include "platform/LayoutLoader.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

// The program adds its outward links to the screen's actions, as here.
class ScreenWithOutwardLinks final : public tuner::ViewController {
public:
    using tuner::ViewController::ViewController;
    std::map<std::string, platform::Control::Action> actions() override {
        auto table = tuner::ViewController::actions();
        table.emplace("redirectToTarveloLabs:", [](platform::Control*) {});
        table.emplace("reviewPallqaTuner:", [](platform::Control*) {});
        return table;
    }
};

class LayoutBindingTest : public TunerScreenTest, public testing::WithParamInterface<const char*> {};

TEST_P(LayoutBindingTest, TheTunerSceneBindsCompletely) {
    const platform::ControllerFactories classes{
        {"ViewController", [this] { return std::make_shared<ScreenWithOutwardLinks>([] {}, input); }}};
    const auto storyboard = platform::Storyboard::storyboardWithName(GetParam(), classes);
    ASSERT_NE(storyboard, nullptr);

    const auto screen = std::dynamic_pointer_cast<tuner::ViewController>(storyboard->instantiateInitialViewController());

    ASSERT_NE(screen, nullptr);
    for (const auto& line : log->lines()) ADD_FAILURE() << line;
    EXPECT_NE(screen->noteDisplay, nullptr);
    EXPECT_NE(screen->micSensitivitySlider, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Documents, LayoutBindingTest,
                         testing::Values("Main_iPhone4s", "Main_iPhone", "Main_iPhone6", "Main_iPhone6Plus",
                                         "Main_iPhoneX", "Main_iPhoneXSMax", "Main_iPhone12Pro",
                                         "Main_iPhone12ProMax", "Main_iPad", "Main_iPad_Mini6", "Main_iPad_Pro",
                                         "Main_iPad_Pro_10_5", "Main_iPad_Pro_11"));

}  // namespace
}  // namespace tuner_tests
