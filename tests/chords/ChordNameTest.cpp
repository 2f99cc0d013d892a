// Chord names in both spellings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chords/ChordName.h"
#include "chords/ChordTableText.h"

namespace {

TEST(ChordName, EveryRootAndTypeInBothSpellings) {
    struct Spelled {
        const char* sharp;
        const char* flat;
    };
    const std::vector<Spelled> roots = {{"A", "A"},   {"A#", "B♭"}, {"B", "B"},   {"C", "C"},
                                        {"C#", "D♭"}, {"D", "D"},   {"D#", "E♭"}, {"E", "E"},
                                        {"F", "F"},   {"F#", "G♭"}, {"G", "G"},   {"G#", "A♭"}};
    const std::vector<std::string> suffixes = {"", "m", "7", "m7"};
    ASSERT_EQ(roots.size(), chords::kRootCount);
    for (size_t row = 0; row < chords::kRootCount; ++row) {
        for (size_t column = 0; column < chords::kVariantCount; ++column) {
            const auto root = chords::kRootKeys[row];
            const auto variant = chords::kVariantKeys[column];
            EXPECT_EQ(chords::chordName(root, variant, false), roots[row].sharp + suffixes[column]);
            EXPECT_EQ(chords::chordName(root, variant, true), roots[row].flat + suffixes[column]);
        }
    }
}

TEST(ChordName, FlatSignIsTheMusicFlatAndSharpTheNumberSign) {
    EXPECT_EQ(chords::chordName("A#/B♭", "m7", true), "B\xE2\x99\xAD" "m7");
    EXPECT_EQ(chords::chordName("A#/B♭", "m7", false), "A\x23m7");
    EXPECT_EQ(chords::chordName("C", "-", true), "C");
}

}  // namespace
