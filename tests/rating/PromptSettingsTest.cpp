// The class-level settings: restoring the defaults leaves nothing of a
// changed setting behind, as a freshly started process would have them.

#include <gtest/gtest.h>

#include "rating/PromptSettings.h"

namespace {

TEST(PromptSettings, RestoringTheDefaultsPutsEverySettingBack) {
    rating::PromptSettings changed;
    changed.setAppId("1447470931");
    changed.daysUntilPrompt = 2.0;
    changed.usesUntilPrompt = 2;
    changed.significantEventsUntilPrompt = 5;
    changed.timeBeforeReminding = 2.0;
    changed.debug = true;
    changed.usesAnimation = false;
    changed.modalOpen = true;
    changed.alwaysUseMainBundle = true;

    changed.restoreDefaults();

    EXPECT_EQ(changed.appId(), "");
    EXPECT_EQ(changed.daysUntilPrompt, 30.0);
    EXPECT_EQ(changed.usesUntilPrompt, 20);
    EXPECT_EQ(changed.significantEventsUntilPrompt, -1);
    EXPECT_EQ(changed.timeBeforeReminding, 1.0);
    EXPECT_FALSE(changed.debug);
    EXPECT_TRUE(changed.usesAnimation);
    EXPECT_FALSE(changed.modalOpen);
    EXPECT_FALSE(changed.alwaysUseMainBundle);
}

}  // namespace
