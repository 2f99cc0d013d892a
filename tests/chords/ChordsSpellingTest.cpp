// The sharp/flat switch: names, button pictures by screen class, and the one
// spelling shared by every chord screen of the process.

#include <gtest/gtest.h>

#include "tests/chords/ChordsScreenFixture.h"

namespace chords_test {
namespace {

TEST_F(ChordsScreenTest, TheSwitchRenamesWithoutMovingAMark) {
    auto screen = loadScreen({1, 1});  // "A#/B♭" minor
    const auto shape = drawnShape();
    EXPECT_EQ(screen->chordDisplay->text(), "A#m");

    screen->toggleSharpOfFlat(screen->buttonFlatOrSharp.get());
    EXPECT_TRUE(chords::flatSpelling);
    EXPECT_EQ(screen->chordDisplay->text(), "B♭m");
    EXPECT_EQ(imageName(screen->buttonFlatOrSharp->imageForState(platform::ControlState::Normal)), "sharp.png");
    EXPECT_EQ(drawnShape(), shape);
    EXPECT_EQ(chordsSearched(), 3);
    EXPECT_EQ(variantsSearched(), 4);

    screen->toggleSharpOfFlat(screen->buttonFlatOrSharp.get());
    EXPECT_FALSE(chords::flatSpelling);
    EXPECT_EQ(screen->chordDisplay->text(), "A#m");
    EXPECT_EQ(imageName(screen->buttonFlatOrSharp->imageForState(platform::ControlState::Normal)), "flat.png");
    EXPECT_EQ(drawnShape(), shape);
    EXPECT_EQ(chordsSearched(), 4);
    EXPECT_EQ(variantsSearched(), 5);
}

TEST_F(ChordsScreenTest, ScreenReadersHearWhatTheSpellingButtonDoes) {
    for (const auto& [idiom, height] : {std::pair<int64_t, double>{0, 844.0}, {1, 1366.0}}) {
        setScreen(idiom, height);
        auto screen = loadScreen();
        screen->toggleSharpOfFlat(nullptr);  // now spelled with flats; the button offers sharps
        EXPECT_EQ(screen->buttonFlatOrSharp->accessibilityLabel(), "Spell with sharps") << height;
        screen->toggleSharpOfFlat(nullptr);
        EXPECT_EQ(screen->buttonFlatOrSharp->accessibilityLabel(), "Spell with flats") << height;
    }
}

TEST_F(ChordsScreenTest, LargeTabletsGetTheProButtonPictures) {
    struct Case {
        int64_t idiom;
        double height;
        const char* flatPicture;   // after one press
        const char* sharpPicture;  // after two
    };
    const Case cases[] = {
        {0, 844.0, "sharp.png", "flat.png"},       {0, 1024.0, "sharp.png", "flat.png"},
        {1, 1024.0, "sharppro.png", "flatpro.png"}, {1, 1366.0, "sharppro.png", "flatpro.png"},
        {1, 1180.0, "sharp.png", "flat.png"},       {1, 1024.5, "sharp.png", "flat.png"},
        {2, 1366.0, "sharp.png", "flat.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("idiom " + std::to_string(c.idiom) + ", height " + std::to_string(c.height));
        setScreen(c.idiom, c.height);
        auto screen = loadScreen();
        screen->toggleSharpOfFlat(nullptr);
        EXPECT_EQ(imageName(screen->buttonFlatOrSharp->imageForState(platform::ControlState::Normal)), c.flatPicture);
        screen->toggleSharpOfFlat(nullptr);
        EXPECT_EQ(imageName(screen->buttonFlatOrSharp->imageForState(platform::ControlState::Normal)), c.sharpPicture);
    }
}

TEST_F(ChordsScreenTest, TheSpellingIsSharedByEveryScreenOfTheProcess) {
    auto first = loadScreen({4, 0});  // "C#/D♭"
    first->toggleSharpOfFlat(nullptr);
    first.reset();
    auto second = loadScreen({6, 1});  // "D#/E♭" minor
    EXPECT_EQ(second->chordDisplay->text(), "E♭m");
}

}  // namespace
}  // namespace chords_test
