// The chord diagram: clearing, the pictures of each mark, and what survives a
// redraw.

#include <gmock/gmock.h>

#include "chords/ChordTable.h"
#include "tests/chords/ChordsScreenFixture.h"

namespace chords_test {
namespace {

using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::shared_ptr<platform::ImageView> imageView(const std::map<std::string, std::shared_ptr<platform::View>>& views,
                                               const std::string& name) {
    return std::dynamic_pointer_cast<platform::ImageView>(views.at(name));
}

TEST_F(ChordsScreenTest, EachMarkShowsItsPicture) {
    auto screen = loadScreen();
    pickRoot(*screen, 6);     // "D#/E♭"
    pickVariant(*screen, 0);  // "-": 3 1 3 3 x
    EXPECT_EQ(imageName(imageView(views, "string5Status")->image()), "x.png");
    EXPECT_EQ(imageName(imageView(views, "Str2Fr1")->image()), "dot.png");
    EXPECT_THAT(viewsWithPictures(), UnorderedElementsAre("string5Status", "Str1Fr3", "Str2Fr1", "Str3Fr3", "Str4Fr3"));

    pickVariant(*screen, 2);  // "7": 4 = = = =, barre 3
    EXPECT_EQ(imageName(imageView(views, "BarFr3")->image()), "bar.png");
    EXPECT_THAT(viewsWithPictures(), UnorderedElementsAre("BarFr3", "Str1Fr4"));

    pickRoot(*screen, 3);     // "C"
    pickVariant(*screen, 0);  // "-": o 3 o o o
    EXPECT_EQ(imageName(imageView(views, "string1Status")->image()), "circle.png");
    EXPECT_THAT(viewsWithPictures(),
                UnorderedElementsAre("string1Status", "string3Status", "string4Status", "string5Status", "Str2Fr3"));
    EXPECT_EQ(screen->chordDisplay->text(), "C");
}

TEST_F(ChordsScreenTest, TheNextChordRemovesABarre) {
    auto screen = loadScreen({1, 0});  // "A#/B♭" plain: barre at fret 1
    EXPECT_EQ(imageName(imageView(views, "BarFr1")->image()), "bar.png");
    pickRoot(*screen, 0);  // "A" plain: o o o 1 2
    EXPECT_THAT(viewsWithPictures(),
                UnorderedElementsAre("string1Status", "string2Status", "string3Status", "Str4Fr1", "Str5Fr2"));
    EXPECT_EQ(screen->chordDisplay->text(), "A");
}

TEST_F(ChordsScreenTest, ClearingEmptiesEveryViewTheLayoutFilled) {
    auto screen = makeScreen();
    const auto picture = platform::imageNamed("dot.png");
    ASSERT_TRUE(picture) << "the chord pictures are missing from the resources";
    for (const auto& [name, view] : views) {
        if (auto image = std::dynamic_pointer_cast<platform::ImageView>(view)) image->setImage(picture);
    }
    screen->clearFretboard();
    EXPECT_THAT(viewsWithPictures(), IsEmpty());
    EXPECT_EQ(screen->chordDisplay->text(), "-");
}

TEST_F(ChordsScreenTest, NoRootOrNoTypeDrawsNothingButStillCounts) {
    auto screen = makeScreen();
    screen->applyVariant();
    EXPECT_THAT(viewsWithPictures(), IsEmpty());
    EXPECT_EQ(screen->chordDisplay->text(), "-");
    EXPECT_EQ(variantsSearched(), 1);

    screen->displayChord();
    EXPECT_THAT(viewsWithPictures(), IsEmpty());
    EXPECT_EQ(chordsSearched(), 1);
    EXPECT_TRUE(log->contains("Acordes consultados:1"));

    // A root with no chord type yet: displayChord draws the plain chord, and
    // the applyVariant that follows empties the diagram again.
    screen->loadChordList();
    pickRoot(*screen, 2);
    EXPECT_EQ(screen->currentVariant(), std::nullopt);
    EXPECT_THAT(viewsWithPictures(), IsEmpty());
    EXPECT_EQ(screen->chordDisplay->text(), "-");
}

TEST_F(ChordsScreenTest, DisplayChordDrawsThePlainChordWhateverTheType) {
    auto screen = loadScreen({3, 1});  // "Cm"
    screen->displayChord();
    EXPECT_EQ(screen->chordDisplay->text(), "C");
    EXPECT_EQ(drawnShape(), chords::shapeAt({3, 0}));
}

TEST_F(ChordsScreenTest, TheChordsNameSpeaksTheFingeringInWords) {
    const struct {
        std::deque<uint32_t> draws;
        const char* spoken;
    } cases[] = {
        {{0, 1}, "A minor: string 1 open, string 2 open, string 3 open, string 4 open, string 5 fret 2"},
        {{0, 3}, "A minor seventh: string 1 open, string 2 open, string 3 fret 3, string 4 open, string 5 fret 2"},
        {{1, 1}, "A sharp minor: string 1 fret 1, string 2 fret 1, string 3 fret 1, string 4 fret 1, string 5 fret 3"},
    };
    for (const auto& c : cases) {
        auto screen = loadScreen(c.draws);
        screen->applyVariant();
        EXPECT_EQ(screen->chordDisplay->accessibilityLabel(), c.spoken);
    }
}

TEST_F(ChordsScreenTest, MissingViewsAreSkipped) {
    auto screen = makeScreen();
    screen->Str1Fr1.reset();
    screen->chordDisplay.reset();
    screen->buttonFlatOrSharp.reset();
    screen->viewDidLoad();  // "A" plain draws a dot at string 4, fret 1
    screen->toggleSharpOfFlat(nullptr);
    EXPECT_EQ(screen->currentChord(), "A");
    EXPECT_EQ(imageName(imageView(views, "Str4Fr1")->image()), "dot.png");
}

}  // namespace
}  // namespace chords_test
