// The tuned-string picture by screen class: every row of the tablet and the
// phone table with every string index, checked against the pictures that
// exist among the resources, and the classes and indexes that change nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/Device.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

using tuner::ViewController;
using PictureView = std::shared_ptr<platform::ImageView> ViewController::*;

class TunedStringDisplayTest : public TunerScreenTest {};

struct ScreenClass {
    int64_t idiom;
    double height;
    const char* suffix;
    PictureView view;
};

constexpr int64_t kPhone = 0;
constexpr int64_t kTablet = 1;

// Every screen class of the two tables, one row per height.
const ScreenClass kScreenClasses[] = {
    {kTablet, 1024, "_iPad", &ViewController::tunedStringiPad},
    {kTablet, 1080, "_iPad_Pro", &ViewController::tunedStringiPad},
    {kTablet, 1112, "_iPad_Pro", &ViewController::tunedStringiPad},
    {kTablet, 1133, "_iPad_Pro", &ViewController::tunedStringiPad},
    {kTablet, 1180, "_iPad_Pro", &ViewController::tunedStringiPad},
    {kTablet, 1194, "_iPad_Pro", &ViewController::tunedStringiPad},
    {kTablet, 1210, "_iPad_Pro", &ViewController::tunedStringiPad},
    {kTablet, 1366, "_iPad_Pro", &ViewController::tunedStringiPad},
    {kTablet, 1376, "_iPad_Pro", &ViewController::tunedStringiPad},
    {kPhone, 480, "", &ViewController::tunedString},
    {kPhone, 568, "_5", &ViewController::tunedString5},
    {kPhone, 667, "_6", &ViewController::tunedString5},
    {kPhone, 736, "_6plus", &ViewController::tunedString5},
    {kPhone, 812, "_6plus", &ViewController::tunedString5},
    {kPhone, 844, "_6plus", &ViewController::tunedString5},
    {kPhone, 852, "_6plus", &ViewController::tunedString5},
    {kPhone, 874, "_6plus", &ViewController::tunedString5},
    {kPhone, 896, "_6plus", &ViewController::tunedString5},
    {kPhone, 912, "_6plus", &ViewController::tunedString5},
    {kPhone, 926, "_6plus", &ViewController::tunedString5},
    {kPhone, 932, "_6plus", &ViewController::tunedString5},
    {kPhone, 956, "_6plus", &ViewController::tunedString5},
};

const char* const kOrdinals[] = {"1st", "2nd", "3rd", "4th", "5th", "6th"};

class ScreenClassTest : public TunedStringDisplayTest, public testing::WithParamInterface<ScreenClass> {};

TEST_P(ScreenClassTest, ShowsEachStringAtTheClassSizeInTheClassView) {
    const ScreenClass& screenClass = GetParam();
    setScreen(screenClass.idiom, screenClass.height);
    auto screen = makeScreen();
    const PictureView views[] = {&ViewController::tunedString, &ViewController::tunedString5,
                                 &ViewController::tunedStringiPad};

    for (int64_t index = 1; index <= 6; ++index) {
        screen->displayTunedString(index);
        const std::string expected = std::string(kOrdinals[index - 1]) + "_string" + screenClass.suffix + ".png";
        const auto& image = ((*screen).*screenClass.view)->image();
        ASSERT_NE(image, nullptr) << expected << " is missing from the resources";
        EXPECT_EQ(image->name, expected);
        EXPECT_TRUE(std::filesystem::is_regular_file(image->path)) << image->path;
        for (const PictureView other : views) {
            if (other == screenClass.view) continue;
            EXPECT_EQ(((*screen).*other)->image(), nullptr);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TabletAndPhoneTables, ScreenClassTest, testing::ValuesIn(kScreenClasses),
                         [](const auto& tested) {
                             return std::string(tested.param.idiom == kTablet ? "Tablet" : "Phone") +
                                    std::to_string(static_cast<int>(tested.param.height));
                         });

struct NoPictureCase {
    const char* name;
    int64_t idiom;
    double height;
    int64_t index;
};

class NoPictureTest : public TunedStringDisplayTest, public testing::WithParamInterface<NoPictureCase> {};

TEST_P(NoPictureTest, ChangesNothing) {
    setScreen(GetParam().idiom, GetParam().height);
    auto screen = makeScreen();
    screen->displayTunedString(GetParam().index);
    EXPECT_EQ(screen->tunedString->image(), nullptr);
    EXPECT_EQ(screen->tunedString5->image(), nullptr);
    EXPECT_EQ(screen->tunedStringiPad->image(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, NoPictureTest,
                         testing::Values(NoPictureCase{"IndexZero", kPhone, 844, 0},
                                         NoPictureCase{"IndexSeven", kPhone, 844, 7},
                                         NoPictureCase{"NegativeIndex", kTablet, 1024, -2},
                                         NoPictureCase{"TabletOfAnUnknownHeight", kTablet, 768, 2},
                                         NoPictureCase{"PhoneReportingATabletHeight", kPhone, 1024, 2},
                                         NoPictureCase{"TabletReportingAPhoneHeight", kTablet, 844, 2},
                                         NoPictureCase{"NearlyATableHeight", kPhone, 844.5, 2},
                                         NoPictureCase{"UnknownIdiom", 2, 844, 2},
                                         NoPictureCase{"NegativeIdiom", -1, 1024, 2}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(TunedStringDisplayTest, AnotherIndexReplacesThePictureInTheSameView) {
    setScreen(kPhone, 667);
    auto screen = makeScreen();
    screen->displayTunedString(4);
    screen->displayTunedString(4);
    EXPECT_EQ(pictureIn(screen->tunedString5), "4th_string_6.png");
    screen->displayTunedString(6);
    EXPECT_EQ(pictureIn(screen->tunedString5), "6th_string_6.png");
}

}  // namespace
}  // namespace tuner_tests
