// When the chord screen offers the rating prompt.

#include <gtest/gtest.h>

#include <limits>

#include "tests/chords/ChordsScreenFixture.h"

namespace chords_test {
namespace {

TEST_F(ChordsScreenTest, LoadingAtEightSearchesPromptsOnceOnReachingTen) {
    defaults->setInteger(8, "chordsSearched");
    auto screen = loadScreen();
    EXPECT_EQ(chordsSearched(), 10);
    EXPECT_EQ(reviewRequests, 1);
    EXPECT_TRUE(log->contains("Acordes consultados:9"));
    EXPECT_TRUE(log->contains("Acordes consultados:10"));
}

TEST_F(ChordsScreenTest, PromptsOnlyAtTheTensUpToFifty) {
    struct Case {
        int64_t stored;
        int requests;
    };
    const Case cases[] = {{10, 1}, {20, 1}, {30, 1}, {40, 1}, {50, 1}, {0, 0},  {9, 0},   {11, 0},  {15, 0},
                          {19, 0}, {21, 0}, {49, 0}, {51, 0}, {60, 0}, {100, 0}, {-1, 0}, {-10, 0}, {-50, 0}};
    auto screen = makeScreen();
    for (const auto& c : cases) {
        defaults->setInteger(c.stored, "chordsSearched");
        defaults->setInteger(7, "variantsSearched");
        reviewRequests = 0;
        log->clear();
        screen->promptToReview();
        EXPECT_EQ(reviewRequests, c.requests) << "chordsSearched " << c.stored;
        EXPECT_EQ(log->lines(), (std::vector<std::string>{"Acordes consultados:" + std::to_string(c.stored),
                                                          "Variantes consultadas:7"}));
    }
}

TEST_F(ChordsScreenTest, TheLargestStoredCountsWrapWithoutPrompting) {
    constexpr auto largest = std::numeric_limits<int64_t>::max();
    defaults->setInteger(largest, "chordsSearched");
    defaults->setInteger(largest, "variantsSearched");
    auto screen = makeScreen();
    screen->displayChord();
    screen->applyVariant();
    EXPECT_EQ(chordsSearched(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(variantsSearched(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(reviewRequests, 0);
}

TEST_F(ChordsScreenTest, EveryDisplayedChordCountsTowardsThePrompt) {
    defaults->setInteger(18, "chordsSearched");
    auto screen = loadScreen();  // 19, then 20
    EXPECT_EQ(reviewRequests, 1);
    for (int press = 0; press < 10; ++press) screen->toggleSharpOfFlat(nullptr);  // 21 to 30
    EXPECT_EQ(reviewRequests, 2);
    for (int pick = 0; pick < 25; ++pick) pickRoot(*screen, pick % 12);  // 31 to 55
    EXPECT_EQ(reviewRequests, 4);
    EXPECT_EQ(chordsSearched(), 55);
}

}  // namespace
}  // namespace chords_test
