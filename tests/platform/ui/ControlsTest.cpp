// A slider the user lets go of: what its actions get and what observers are
// told; and an action typed by the kind of control that sends it.

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/Controls.h"
#include "tests/support/ViewWatcher.h"

namespace {

TEST(Slider, LetGoItSendsItsActionsHeldInRangeAndLeavesTheShowingToThem) {
    platform::Slider slider;
    slider.setRange(0.0f, 10.0f);
    std::vector<float> sent;
    slider.addTarget([&sent](platform::Control* sender) {
        auto* slid = static_cast<platform::Slider*>(sender);
        sent.push_back(slid->value());
        if (slid->value() > 9.0f) slid->setValue(9.0f);
    });
    std::vector<float> told;
    const testing_support::ViewWatcher frontend(slider, [&](platform::Change change) {
        if (change == platform::Change::Value) told.push_back(slider.value());
    });

    slider.userSetValue(4.5f);
    slider.userSetValue(12.0f);

    EXPECT_EQ(sent, (std::vector<float>{4.5f, 10.0f}));
    EXPECT_EQ(told, (std::vector<float>{9.0f})) << "only the action's change is told";
    EXPECT_EQ(slider.value(), 9.0f);
}

class Screen {
public:
    void sliderMoved(platform::Slider& sender) { moved.push_back(&sender); }
    std::vector<platform::Slider*> moved;
};

TEST(ActionFor, RunsItsHandlerForItsKindOfSenderAndNothingForAnyOther) {
    Screen screen;
    const platform::Control::Action action = platform::actionFor(&screen, &Screen::sliderMoved);
    platform::Slider slider;
    platform::Button button;

    action(&slider);
    action(&button);
    action(nullptr);

    EXPECT_EQ(screen.moved, (std::vector<platform::Slider*>{&slider}));
}

}  // namespace
