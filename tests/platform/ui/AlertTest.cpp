// The alerts of the element model: indexes, visibility, and what a tap does.

#include <gtest/gtest.h>

#include "platform/ui/Alert.h"
#include "platform/ui/Application.h"

namespace {

struct DismissalRecorder : platform::AlertViewDelegate {
    void alertViewDidDismissWithButtonIndex(platform::AlertView&, int64_t index) override { indexes.push_back(index); }
    std::vector<int64_t> indexes;
};

TEST(AlertView, NumbersTheCancelButtonZeroAndTheOthersInOrder) {
    platform::AlertView withCancel("Title", "Message", {}, "Cancel", {"One"});
    EXPECT_EQ(withCancel.addButtonWithTitle("Two"), 2);
    EXPECT_EQ(withCancel.cancelButtonIndex(), 0);
    EXPECT_EQ(withCancel.buttonTitleAtIndex(0), "Cancel");
    EXPECT_EQ(withCancel.buttonTitleAtIndex(2), "Two");
    EXPECT_EQ(withCancel.buttonTitleAtIndex(3), "");

    platform::AlertView withoutCancel("Title", "Message", {}, "");
    EXPECT_EQ(withoutCancel.addButtonWithTitle("Only"), 0);
    EXPECT_EQ(withoutCancel.cancelButtonIndex(), -1);
}

TEST(AlertView, IsVisibleFromShowUntilDismissedAndReportsTheIndex) {
    auto recorder = std::make_shared<DismissalRecorder>();
    auto window = std::make_shared<platform::Window>(platform::Rect{0, 0, 390, 844});
    window->makeKeyAndVisible();
    auto alert = std::make_shared<platform::AlertView>("Title", "Message", recorder, "Cancel",
                                                       std::vector<std::string>{"Rate"});
    EXPECT_FALSE(alert->userTapButtonAtIndex(1)) << "not shown yet";

    alert->show();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->superview(), window.get());
    EXPECT_FALSE(alert->userTapButtonAtIndex(2)) << "no such button";
    EXPECT_TRUE(alert->userTapButtonAtIndex(1));
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(alert->superview(), nullptr);

    alert->show();
    alert->dismissWithClickedButtonIndex(-1, false);
    EXPECT_EQ(recorder->indexes, (std::vector<int64_t>{1, -1}));
    platform::Application::sharedApplication()->removeAllWindows();
}

TEST(AlertController, IsVisibleWhilePresentedAndATapDismissesItBeforeTheHandlerRuns) {
    platform::ViewController screen;
    auto alert = std::make_shared<platform::AlertController>("Title", "Message", platform::AlertControllerStyle::Alert);
    std::vector<std::string> seen;
    alert->addAction(platform::AlertAction("OK", platform::AlertActionStyle::Default, [&](const platform::AlertAction& a) {
        seen.push_back(a.title() + (screen.presentedViewController() ? " while shown" : " after dismissal"));
    }));
    EXPECT_FALSE(alert->userTapAction(0)) << "not presented yet";

    screen.presentViewController(alert, true);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_FALSE(alert->userTapAction(1)) << "no such action";
    EXPECT_TRUE(alert->userTapAction(0));

    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(seen, std::vector<std::string>{"OK after dismissal"});
}

TEST(AlertController, ItsButtonsAreTheActionsInOrder) {
    platform::ViewController screen;
    auto alert = std::make_shared<platform::AlertController>("Title", "Message", platform::AlertControllerStyle::Alert);
    int tapped = -1;
    for (int i = 0; i < 2; ++i) {
        alert->addAction(platform::AlertAction("Action " + std::to_string(i), platform::AlertActionStyle::Default,
                                               [&tapped, i](const platform::AlertAction&) { tapped = i; }));
    }
    screen.presentViewController(alert, false);

    std::shared_ptr<platform::Button> second;
    for (const auto& view : alert->view()->subviews()) {
        auto button = std::dynamic_pointer_cast<platform::Button>(view);
        if (button && button->title() == "Action 1") second = button;
    }
    ASSERT_NE(second, nullptr);
    second->userTap();
    EXPECT_EQ(tapped, 1);
}

}  // namespace
