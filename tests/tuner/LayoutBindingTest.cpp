// Every layout document's tuner scene built around the real tuner screen:
// each of the screen's outlets is an element of the right kind, and each of
// its actions is sent by some control. (The scenes' controls also send the
// program's outward links, which the program adds to the screen; those are
// not the tuner screen's to answer.)

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/LayoutLoader.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

// The loader's complaints about a scene, one by one.
std::vector<std::string> bindingProblems(const std::vector<std::string>& logLines) {
    constexpr std::string_view kMarker = "does not bind: ";
    std::vector<std::string> problems;
    for (const auto& line : logLines) {
        const size_t at = line.find(kMarker);
        if (at == std::string::npos) {
            problems.push_back(line);
            continue;
        }
        std::string_view rest = std::string_view(line).substr(at + kMarker.size());
        while (!rest.empty()) {
            const size_t end = rest.find("; ");
            problems.emplace_back(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        }
    }
    return problems;
}

class LayoutBindingTest : public TunerScreenTest, public testing::WithParamInterface<const char*> {};

TEST_P(LayoutBindingTest, TheTunerSceneBindsEveryOutletAndAction) {
    const platform::ControllerFactories classes{
        {"ViewController", [this] { return std::make_shared<tuner::ViewController>([] {}, input); }}};
    const auto storyboard = platform::Storyboard::storyboardWithName(GetParam(), classes);
    ASSERT_NE(storyboard, nullptr);

    const auto screen = std::dynamic_pointer_cast<tuner::ViewController>(storyboard->instantiateInitialViewController());

    ASSERT_NE(screen, nullptr);
    for (const auto& problem : bindingProblems(log->lines())) {
        if (problem.starts_with("no action ")) continue;  // an outward link
        ADD_FAILURE() << problem;
    }
    EXPECT_NE(screen->noteDisplay, nullptr);
    EXPECT_NE(screen->micSensitivitySlider, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Documents, LayoutBindingTest,
                         testing::Values("Main_iPhone4s", "Main_iPhone", "Main_iPhone6", "Main_iPhone6Plus",
                                         "Main_iPhoneX", "Main_iPhoneXSMax", "Main_iPhone12Pro",
                                         "Main_iPhone12ProMax", "Main_iPad", "Main_iPad_Mini6", "Main_iPad_Pro",
                                         "Main_iPad_Pro_10_5", "Main_iPad_Pro_11"),
                         [](const auto& tested) { return std::string(tested.param); });

}  // namespace
}  // namespace tuner_tests
