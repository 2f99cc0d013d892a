// The tuner screen's stored settings on their own: the first-run reset that
// leaves the level in force alone, and the restore of the switch settings
// and the tuning-fork mark from every kind of stored value.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "sound/ConfirmationBeep.h"
#include "sound/StringSounds.h"
#include "sound/TuningFork.h"
#include "tests/support/PlainPlatform.h"
#include "tuner/ScreenSettings.h"

namespace tuner_tests {
namespace {

using tuner::ScreenSettings;

class ScreenSettingsTest : public testing_support::PlainPlatformTest {
protected:
    ScreenSettings settings;
};

TEST_F(ScreenSettingsTest, TheFirstRunResetStoresTheDefaultsButKeepsTheLevelInForce) {
    settings.takeSensitivity(8.0f, 8.0f);
    ASSERT_TRUE(ScreenSettings::isFirstRun());

    settings.resetForFirstRun();

    EXPECT_FALSE(ScreenSettings::isFirstRun());
    EXPECT_EQ(defaults->integerForKey(ScreenSettings::kSavedSliderValueKey), 5);
    EXPECT_EQ(settings.micSensitivityValue(), 8);
    EXPECT_DOUBLE_EQ(settings.limits().bottom, 0.005);
    EXPECT_DOUBLE_EQ(settings.limits().top, 0.0075);
}

struct StoredSwitch {
    const char* name;
    enum class Kind { Missing, Boolean, Integer } kind;
    int64_t value;
    std::optional<bool> restored;
};

class RestoredSwitchTest : public ScreenSettingsTest, public testing::WithParamInterface<StoredSwitch> {
protected:
    void store(const char* key) {
        switch (GetParam().kind) {
            case StoredSwitch::Kind::Missing: break;
            case StoredSwitch::Kind::Boolean: defaults->setBool(GetParam().value != 0, key); break;
            case StoredSwitch::Kind::Integer: defaults->setInteger(GetParam().value, key); break;
        }
    }
};

TEST_P(RestoredSwitchTest, AppliesOnlyZeroAndOne) {
    defaults->setBool(true, ScreenSettings::kNewPallqaProKey);
    for (const char* key : {ScreenSettings::kFrequencyChartEnabledKey, sound::kSoundNotificationEnabledKey,
                            sound::kStringSoundsEnabledKey}) {
        store(key);
    }

    const tuner::RestoredSettings restored = settings.restore();

    EXPECT_EQ(restored.frequencyChart, GetParam().restored);
    EXPECT_EQ(restored.soundNotification, GetParam().restored);
    EXPECT_EQ(restored.stringSounds, GetParam().restored);
}

using Kind = StoredSwitch::Kind;

INSTANTIATE_TEST_SUITE_P(StoredValues, RestoredSwitchTest,
                         testing::Values(StoredSwitch{"Yes", Kind::Boolean, 1, true},
                                         StoredSwitch{"No", Kind::Boolean, 0, false},
                                         StoredSwitch{"One", Kind::Integer, 1, true},
                                         StoredSwitch{"Zero", Kind::Integer, 0, false},
                                         StoredSwitch{"Two", Kind::Integer, 2, std::nullopt},
                                         StoredSwitch{"MinusOne", Kind::Integer, -1, std::nullopt},
                                         StoredSwitch{"Missing", Kind::Missing, 0, false}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(ScreenSettingsTest, OnlyAStoredOneMarksTheTuningForkInUse) {
    defaults->setBool(true, ScreenSettings::kNewPallqaProKey);
    EXPECT_FALSE(settings.restore().tuningForkInUse) << "missing";
    for (const int64_t stored : {0, 2, -1}) {
        defaults->setInteger(stored, sound::kCurrentlyUsingTuningForkKey);
        EXPECT_FALSE(settings.restore().tuningForkInUse) << stored;
    }
    defaults->setInteger(1, sound::kCurrentlyUsingTuningForkKey);
    EXPECT_TRUE(settings.restore().tuningForkInUse);
}

}  // namespace
}  // namespace tuner_tests
