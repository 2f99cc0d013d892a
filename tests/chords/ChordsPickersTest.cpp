// The chord screen's outlets, titles, pickers and the random start-up selection.

#include <gmock/gmock.h>

#include <set>

#include "chords/ChordName.h"
#include "chords/ChordTable.h"
#include "chords/UniformRandom.h"
#include "tests/chords/ChordsScreenFixture.h"

namespace chords_test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const std::vector<std::string> kRoots = {"A", "A#/B♭", "B", "C", "C#/D♭", "D", "D#/E♭", "E", "F", "F#/G♭", "G", "G#/A♭"};
const std::vector<std::string> kVariants = {"-", "m", "7", "m7"};

template <typename T>
bool isA(const std::shared_ptr<platform::View>& view) {
    return std::dynamic_pointer_cast<T>(view) != nullptr;
}

TEST_F(ChordsScreenTest, DeclaresEveryOutletByNameAndKind) {
    auto screen = makeScreen();
    std::set<std::string> images = {"rightNumberFr1", "rightNumberFr2", "leftNumberFr2"};
    for (int string = 1; string <= 5; ++string) {
        images.insert("string" + std::to_string(string) + "Status");
        for (int fret = 1; fret <= 4; ++fret) images.insert("Str" + std::to_string(string) + "Fr" + std::to_string(fret));
    }
    for (int fret = 1; fret <= 4; ++fret) images.insert("BarFr" + std::to_string(fret));

    std::set<std::string> names;
    for (const auto& [name, view] : views) names.insert(name);
    std::set<std::string> expected = images;
    expected.insert({"chordsTitle1", "chordsTitle2", "buttonFlatOrSharp", "selectRootChord", "selectVariant",
                     "chordDisplay"});
    EXPECT_EQ(names, expected);
    EXPECT_EQ(names.size(), 38u);
    for (const auto& name : images) EXPECT_TRUE(isA<platform::ImageView>(views.at(name))) << name;
    for (const auto* name : {"chordsTitle1", "chordsTitle2", "chordDisplay"}) {
        EXPECT_TRUE(isA<platform::Label>(views.at(name))) << name;
    }
    EXPECT_TRUE(isA<platform::Button>(views.at("buttonFlatOrSharp")));
    EXPECT_TRUE(isA<platform::PickerView>(views.at("selectRootChord")));
    EXPECT_TRUE(isA<platform::PickerView>(views.at("selectVariant")));
    // Each binder fills the member of that name.
    EXPECT_EQ(screen->Str3Fr2, views.at("Str3Fr2"));
    EXPECT_EQ(screen->BarFr4, views.at("BarFr4"));
    EXPECT_EQ(screen->string5Status, views.at("string5Status"));
}

TEST_F(ChordsScreenTest, TheSwitchActionSwapsTheSpelling) {
    auto screen = loadScreen({1, 1});  // "A#/B♭" minor
    const auto actions = screen->actions();
    ASSERT_EQ(actions.size(), 1u);
    ASSERT_TRUE(actions.count("toggleSharpOfFlat:"));
    screen->buttonFlatOrSharp->addTarget(actions.at("toggleSharpOfFlat:"));
    screen->buttonFlatOrSharp->userTap();
    EXPECT_EQ(screen->chordDisplay->text(), "B♭m");
}

TEST_F(ChordsScreenTest, PickersListTwelveRootsAndFourTypesInOneComponent) {
    auto screen = loadScreen();
    auto& roots = *screen->selectRootChord;
    auto& variants = *screen->selectVariant;
    EXPECT_EQ(roots.tag(), 1);
    EXPECT_EQ(variants.tag(), 2);
    EXPECT_EQ(roots.accessibilityLabel(), "Root") << "named for screen readers";
    EXPECT_EQ(variants.accessibilityLabel(), "Chord type");
    for (auto* picker : {&roots, &variants}) {
        EXPECT_EQ(picker->dataSource(), screen.get());
        EXPECT_EQ(picker->delegate(), screen.get());
        EXPECT_EQ(screen->numberOfComponentsInPickerView(*picker), 1);
    }
    EXPECT_EQ(screen->pickerViewNumberOfRowsInComponent(roots, 0), 12);
    EXPECT_EQ(screen->pickerViewNumberOfRowsInComponent(variants, 0), 4);
    platform::PickerView untagged, otherTag;
    otherTag.setTag(3);
    EXPECT_EQ(screen->pickerViewNumberOfRowsInComponent(untagged, 0), 0);
    EXPECT_EQ(screen->pickerViewNumberOfRowsInComponent(otherTag, 0), 0);

    std::vector<std::string> rootTitles, variantTitles;
    for (int64_t row = 0; row < 12; ++row) rootTitles.push_back(screen->pickerViewTitleForRow(roots, row, 0));
    for (int64_t row = 0; row < 4; ++row) variantTitles.push_back(screen->pickerViewTitleForRow(variants, row, 0));
    EXPECT_EQ(rootTitles, kRoots);
    EXPECT_EQ(variantTitles, kVariants);
    EXPECT_EQ(screen->chordList(), kRoots);
    EXPECT_EQ(screen->variantList(), kVariants);
    EXPECT_EQ(screen->chordsTitle1->text(), "Chords");
}

TEST_F(ChordsScreenTest, RowsBeyondAListHaveNoTitle) {
    auto screen = loadScreen();
    EXPECT_EQ(screen->pickerViewTitleForRow(*screen->selectRootChord, 12, 0), "");
    EXPECT_EQ(screen->pickerViewTitleForRow(*screen->selectRootChord, -1, 0), "");
    EXPECT_EQ(screen->pickerViewTitleForRow(*screen->selectVariant, 4, 0), "");
}

TEST_F(ChordsScreenTest, SpanishTitlesButRootKeysStayTheSelection) {
    platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), "es"));
    auto screen = loadScreen();
    EXPECT_EQ(screen->chordsTitle1->text(), "Acordes");
    EXPECT_THAT(screen->chordList(), ElementsAre("La", "La#/Si♭", "Si", "Do", "Do#/Re♭", "Re", "Re#/Mi♭", "Mi", "Fa",
                                                 "Fa#/Sol♭", "Sol", "Sol#/La♭"));
    EXPECT_EQ(screen->variantList(), kVariants);
    pickRoot(*screen, 1);
    EXPECT_EQ(screen->currentChord(), "A#/B♭");
    EXPECT_EQ(screen->chordDisplay->text(), "A#");
}

TEST_F(ChordsScreenTest, StartUpSelectsARootAToEAndThePlainOrMinorChord) {
    for (uint32_t root = 0; root < 8; ++root) {
        for (uint32_t variant = 0; variant < 2; ++variant) {
            SCOPED_TRACE("root row " + std::to_string(root) + ", variant row " + std::to_string(variant));
            defaults->removeObjectForKey("chordsSearched");
            defaults->removeObjectForKey("variantsSearched");
            randomBounds.clear();
            log->clear();
            auto screen = loadScreen({root, variant});

            EXPECT_THAT(randomBounds, ElementsAre(8u, 2u));
            EXPECT_EQ(screen->selectRootChord->selectedRowInComponent(0), root);
            EXPECT_EQ(screen->selectVariant->selectedRowInComponent(0), variant);
            EXPECT_EQ(screen->currentChord(), kRoots[root]);
            EXPECT_EQ(screen->currentVariant(), kVariants[variant]);
            EXPECT_EQ(screen->chordDisplay->text(), chords::chordName(kRoots[root], kVariants[variant], false));
            EXPECT_EQ(drawnShape(), chords::shapeAt({root, variant}));
            EXPECT_EQ(chordsSearched(), 2);
            EXPECT_EQ(variantsSearched(), 3);
            // promptToReview runs after each displayChord: the first before any
            // applyVariant, the second after two.
            EXPECT_THAT(log->lines(), ElementsAre("Acordes consultados:1", "Variantes consultadas:0",
                                                  "Acordes consultados:2", "Variantes consultadas:2"));
            EXPECT_EQ(reviewRequests, 0);
        }
    }
}

TEST_F(ChordsScreenTest, DefaultRandomSourceCoversExactlyItsRange) {
    for (const uint32_t bound : {8u, 2u}) {
        std::set<uint32_t> seen;
        for (int draw = 0; draw < 2000; ++draw) seen.insert(chords::uniformRandom(bound));
        std::set<uint32_t> all;
        for (uint32_t value = 0; value < bound; ++value) all.insert(value);
        EXPECT_EQ(seen, all) << "bound " << bound;
    }
    EXPECT_EQ(chords::uniformRandom(1), 0u);
}

TEST_F(ChordsScreenTest, EverySelectionDrawsItsCellAndCountsOnce) {
    auto screen = loadScreen();
    for (size_t root = 0; root < 12; ++root) {
        const auto chordsBefore = chordsSearched();
        const auto variantsBefore = variantsSearched();
        pickRoot(*screen, static_cast<int64_t>(root));
        EXPECT_EQ(chordsSearched(), chordsBefore + 1);
        EXPECT_EQ(variantsSearched(), variantsBefore + 1);
        for (size_t variant = 0; variant < 4; ++variant) {
            SCOPED_TRACE(kRoots[root] + " " + kVariants[variant]);
            pickVariant(*screen, static_cast<int64_t>(variant));
            EXPECT_EQ(screen->currentChord(), kRoots[root]);
            EXPECT_EQ(screen->currentVariant(), kVariants[variant]);
            EXPECT_EQ(drawnShape(), chords::shapeAt({root, variant}));
            EXPECT_EQ(screen->chordDisplay->text(), chords::chordName(kRoots[root], kVariants[variant], false));
            for (const auto* never : {"rightNumberFr1", "rightNumberFr2", "leftNumberFr2", "BarFr4"}) {
                EXPECT_FALSE(std::dynamic_pointer_cast<platform::ImageView>(views.at(never))->image()) << never;
            }
        }
    }
    // Only root selections count chords; every selection counts variants.
    EXPECT_EQ(chordsSearched(), 2 + 12);
    EXPECT_EQ(variantsSearched(), 3 + 12 + 48);
}

TEST_F(ChordsScreenTest, ARootChangeKeepsTheChosenType) {
    auto screen = loadScreen({0, 0});
    pickVariant(*screen, 2);
    pickRoot(*screen, 3);
    EXPECT_EQ(screen->currentVariant(), "7");
    EXPECT_EQ(screen->chordDisplay->text(), "C7");
    chords::ChordShape c7;
    c7.status = {chords::StringStatus::Open, chords::StringStatus::None, chords::StringStatus::Open,
                 chords::StringStatus::Open, chords::StringStatus::Open};
    c7.dots = {{2, 1}};
    EXPECT_EQ(drawnShape(), c7);
}

TEST_F(ChordsScreenTest, RowsBeyondTheTablesAndOtherPickersAreIgnored) {
    auto screen = loadScreen({3, 1});  // "Cm"
    const auto before = drawnShape();
    platform::PickerView stranger;
    stranger.setTag(3);
    screen->pickerViewDidSelectRow(*screen->selectRootChord, 12, 0);
    screen->pickerViewDidSelectRow(*screen->selectVariant, 4, 0);
    screen->pickerViewDidSelectRow(stranger, 0, 0);
    EXPECT_EQ(screen->currentChord(), "C");
    EXPECT_EQ(screen->currentVariant(), "m");
    EXPECT_EQ(screen->chordDisplay->text(), "Cm");
    EXPECT_EQ(drawnShape(), before);
    EXPECT_EQ(chordsSearched(), 2);
    EXPECT_EQ(variantsSearched(), 3);
}

}  // namespace
}  // namespace chords_test
