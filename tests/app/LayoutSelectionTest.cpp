#include <gtest/gtest.h>

#include "app/LayoutSelection.h"

namespace {

using app::chooseLayout;

struct Case {
    int64_t idiom;
    double height;
    const char* layout;  // nullptr: none
};

TEST(LayoutSelection, EveryListedHeightGetsItsLayout) {
    const Case cases[] = {
        {0, 480, "Main_iPhone4s"},          {0, 568, "Main_iPhone"},
        {0, 667, "Main_iPhone6"},           {0, 736, "Main_iPhone6Plus"},
        {0, 812, "Main_iPhoneX"},           {0, 844, "Main_iPhone12Pro"},
        {0, 852, "Main_iPhone12Pro"},       {0, 874, "Main_iPhone12Pro"},
        {0, 896, "Main_iPhoneXSMax"},       {0, 912, "Main_iPhone12ProMax"},
        {0, 926, "Main_iPhone12ProMax"},    {0, 932, "Main_iPhone12ProMax"},
        {0, 956, "Main_iPhone12ProMax"},    {1, 1024, "Main_iPad"},
        {1, 1080, "Main_iPad_Pro_10_5"},    {1, 1112, "Main_iPad_Pro_10_5"},
        {1, 1180, "Main_iPad_Pro_10_5"},    {1, 1133, "Main_iPad_Mini6"},
        {1, 1194, "Main_iPad_Pro_11"},      {1, 1210, "Main_iPad_Pro_11"},
        {1, 1366, "Main_iPad_Pro"},         {1, 1376, "Main_iPad_Pro"},
        // exact equality only, and each family has its own heights
        {0, 667.5, nullptr},                {0, 800, nullptr},
        {0, 1024, nullptr},                 {1, 844, nullptr},
        {1, 768, nullptr},                  {2, 844, nullptr},
        {-1, 1024, nullptr},
    };
    for (const auto& c : cases) {
        const auto choice = chooseLayout(c.idiom, c.height);
        if (c.layout) {
            EXPECT_EQ(choice.layoutName, c.layout) << c.idiom << " " << c.height;
        } else {
            EXPECT_FALSE(choice.layoutName) << c.idiom << " " << c.height << " got " << *choice.layoutName;
        }
    }
}

TEST(LayoutSelection, NamesEveryServedHeightOfEachClassInOrder) {
    for (const char* andWord : {"and", "y"}) {
        const app::ServedHeights lists = app::servedHeightLists(andWord);
        EXPECT_EQ(lists.phone, std::string("480, 568, 667, 736, 812, 844, 852, 874, 896, 912, 926, 932 ") + andWord + " 956");
        EXPECT_EQ(lists.tablet, std::string("1024, 1080, 1112, 1133, 1180, 1194, 1210, 1366 ") + andWord + " 1376");
    }
}

TEST(LayoutSelection, APhoneLogsItsHeightFiveTimesMatchedOrNot) {
    for (double height : {480.0, 844.0, 800.0}) {
        const auto choice = chooseLayout(0, height);
        const std::string line = "iPhone has a height of: " + std::to_string(height);
        EXPECT_EQ(choice.logLines, std::vector<std::string>(5, line)) << height;
    }
}

TEST(LayoutSelection, ATabletLogsItsHeightOnceAndOtherDevicesNothing) {
    EXPECT_EQ(chooseLayout(1, 1024).logLines, std::vector<std::string>{"iPad has a height of: 1024.000000"});
    EXPECT_EQ(chooseLayout(1, 999).logLines, std::vector<std::string>{"iPad has a height of: 999.000000"});
    EXPECT_TRUE(chooseLayout(5, 1024).logLines.empty());
}

TEST(LayoutSelection, NamesThirteenLayouts) { EXPECT_EQ(app::allLayoutNames().size(), 13u); }

}  // namespace
