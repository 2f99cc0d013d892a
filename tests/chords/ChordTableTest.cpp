// The 48 fingerings against a transcription written out mark by mark, and the
// properties every cell of the table keeps.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "chords/ChordTable.h"

namespace {

using chords::ChordShape;
using chords::FingerDot;
using chords::StringStatus;

struct ExpectedCell {
    const char* root;
    const char* variant;
    std::set<int> open;
    std::set<int> muted;
    std::vector<FingerDot> dots;  // {string, fret}
    int barre;                    // 0: none
};

// Read off the chart by hand, one cell per line.
const std::vector<ExpectedCell>& expectedCells() {
    static const std::vector<ExpectedCell> cells = {
        {"A", "-", {1, 2, 3}, {}, {{4, 1}, {5, 2}}, 0},
        {"A", "m", {1, 2, 3, 4}, {}, {{5, 2}}, 0},
        {"A", "7", {1, 2}, {}, {{3, 3}, {4, 1}, {5, 2}}, 0},
        {"A", "m7", {1, 2, 4}, {}, {{3, 3}, {5, 2}}, 0},
        {"A#/B♭", "-", {}, {}, {{4, 2}, {5, 3}}, 1},
        {"A#/B♭", "m", {}, {}, {{5, 3}}, 1},
        {"A#/B♭", "7", {}, {}, {{3, 4}, {4, 2}, {5, 3}}, 1},
        {"A#/B♭", "m7", {}, {}, {{3, 4}, {5, 3}}, 1},
        {"B", "-", {}, {}, {{4, 3}, {5, 4}}, 2},
        {"B", "m", {}, {}, {{5, 4}}, 2},
        {"B", "7", {1, 2}, {}, {{3, 2}, {4, 3}, {5, 4}}, 0},
        {"B", "m7", {1, 2}, {}, {{3, 2}, {4, 2}, {5, 4}}, 0},
        {"C", "-", {1, 3, 4, 5}, {}, {{2, 3}}, 0},
        {"C", "m", {5}, {}, {{1, 3}, {2, 3}, {3, 3}, {4, 3}}, 0},
        {"C", "7", {1, 3, 4, 5}, {}, {{2, 1}}, 0},
        {"C", "m7", {4}, {}, {{1, 3}, {2, 1}, {3, 3}, {5, 3}}, 0},
        {"C#/D♭", "-", {}, {}, {{2, 4}}, 1},
        {"C#/D♭", "m", {}, {}, {{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 1}}, 0},
        {"C#/D♭", "7", {}, {}, {{2, 2}}, 1},
        {"C#/D♭", "m7", {}, {}, {{1, 4}, {2, 2}, {3, 4}}, 1},
        {"D", "-", {2}, {}, {{1, 2}, {3, 2}, {4, 2}, {5, 2}}, 0},
        {"D", "m", {2}, {}, {{1, 1}, {3, 1}, {4, 2}, {5, 2}}, 0},
        {"D", "7", {2, 4}, {}, {{1, 2}, {3, 2}, {5, 2}}, 0},
        {"D", "m7", {}, {}, {{1, 1}, {2, 1}, {2, 3}, {3, 1}, {4, 2}, {5, 2}}, 0},
        {"D#/E♭", "-", {}, {5}, {{1, 3}, {2, 1}, {3, 3}, {4, 3}}, 0},
        {"D#/E♭", "m", {}, {5}, {{1, 2}, {2, 1}, {3, 2}, {4, 3}}, 0},
        {"D#/E♭", "7", {}, {}, {{1, 4}}, 3},
        {"D#/E♭", "m7", {}, {}, {{1, 2}, {2, 2}, {2, 4}, {3, 2}, {4, 3}, {5, 3}}, 0},
        {"E", "-", {1, 3}, {}, {{2, 2}, {4, 4}, {5, 1}}, 0},
        {"E", "m", {1, 5}, {}, {{2, 2}, {3, 3}, {4, 4}}, 0},
        {"E", "7", {1, 3}, {}, {{2, 2}, {4, 2}, {5, 1}}, 0},
        {"E", "m7", {1, 3, 5}, {}, {{2, 2}, {4, 2}}, 0},
        {"F", "-", {2, 4}, {}, {{1, 1}, {3, 1}, {5, 2}}, 0},
        {"F", "m", {4}, {}, {{1, 1}, {2, 3}, {3, 1}, {5, 1}}, 0},
        {"F", "7", {2}, {}, {{1, 1}, {3, 1}, {4, 3}, {5, 2}}, 0},
        {"F", "m7", {}, {}, {{2, 3}, {4, 3}}, 1},
        {"F#/G♭", "-", {}, {5}, {{1, 2}, {2, 1}, {3, 2}, {4, 1}}, 0},
        {"F#/G♭", "m", {2}, {}, {{1, 2}, {3, 2}, {4, 1}, {5, 2}}, 0},
        {"F#/G♭", "7", {1}, {}, {{2, 1}, {3, 2}, {4, 1}, {5, 3}}, 0},
        {"F#/G♭", "m7", {1, 2}, {}, {{3, 2}, {4, 1}, {5, 2}}, 0},
        {"G", "-", {5}, {}, {{1, 3}, {2, 2}, {3, 3}, {4, 2}}, 0},
        {"G", "m", {5}, {}, {{1, 3}, {2, 1}, {3, 3}, {4, 2}}, 0},
        {"G", "7", {5}, {}, {{1, 1}, {2, 2}, {3, 1}, {4, 2}}, 0},
        {"G", "m7", {5}, {}, {{1, 1}, {2, 1}, {3, 3}, {4, 2}}, 0},
        {"G#/A♭", "-", {}, {5}, {{1, 4}, {2, 3}, {3, 4}, {4, 3}}, 0},
        {"G#/A♭", "m", {}, {5}, {{1, 4}, {2, 2}, {3, 4}, {4, 3}}, 0},
        {"G#/A♭", "7", {}, {5}, {{1, 2}, {2, 3}, {3, 2}, {4, 3}}, 0},
        {"G#/A♭", "m7", {}, {}, {{2, 2}, {3, 4}, {4, 3}}, 1},
    };
    return cells;
}

ChordShape shapeOf(const ExpectedCell& cell) {
    ChordShape shape;
    for (const int string : cell.open) shape.status[static_cast<size_t>(string - 1)] = StringStatus::Open;
    for (const int string : cell.muted) shape.status[static_cast<size_t>(string - 1)] = StringStatus::Muted;
    shape.dots = cell.dots;
    if (cell.barre) shape.barreFret = cell.barre;
    return shape;
}

// Every cell of the table with its keys.
template <typename Visit>
void forEachCell(Visit visit) {
    for (size_t row = 0; row < chords::kRootCount; ++row) {
        for (size_t column = 0; column < chords::kVariantCount; ++column) {
            visit(std::string(chords::kRootKeys[row]) + " " + std::string(chords::kVariantKeys[column]),
                  chords::shapeAt({row, column}));
        }
    }
}

TEST(ChordTable, EveryCellHoldsTheTranscribedMarks) {
    ASSERT_EQ(expectedCells().size(), 48u);
    for (const auto& expected : expectedCells()) {
        SCOPED_TRACE(std::string(expected.root) + " " + expected.variant);
        const auto cell = chords::findCell(expected.root, expected.variant);
        ASSERT_TRUE(cell);
        EXPECT_EQ(chords::shapeAt(*cell), shapeOf(expected));
    }
}

TEST(ChordTable, KeysAreThePickerOrders) {
    const std::vector<std::string> roots = {"A",     "A#/B♭", "B", "C",          "C#/D♭", "D",
                                            "D#/E♭", "E",     "F", "F#/G♭", "G",          "G#/A♭"};
    const std::vector<std::string> variants = {"-", "m", "7", "m7"};
    EXPECT_EQ(std::vector<std::string>(chords::kRootKeys.begin(), chords::kRootKeys.end()), roots);
    EXPECT_EQ(std::vector<std::string>(chords::kVariantKeys.begin(), chords::kVariantKeys.end()), variants);
}

TEST(ChordTable, OnlyExactKeysPickACell) {
    EXPECT_EQ(chords::findCell("C#/D♭", "m7")->row, 4u);
    EXPECT_EQ(chords::findCell("C#/D♭", "m7")->column, 3u);
    for (const auto& [root, variant] : std::vector<std::pair<std::string, std::string>>{
             {"A#", "-"}, {"B♭", "-"}, {"a", "-"}, {"", "m"}, {"A", ""}, {"A", "M"}, {"A", "maj7"}, {"A ", "7"}}) {
        EXPECT_FALSE(chords::findCell(root, variant)) << root << " " << variant;
    }
}

TEST(ChordTable, AMarkedStringCarriesNoDot) {
    forEachCell([](const std::string& cell, const ChordShape& shape) {
        for (const auto& dot : shape.dots) {
            EXPECT_EQ(shape.status[static_cast<size_t>(dot.string - 1)], StringStatus::None) << cell;
        }
    });
}

TEST(ChordTable, TwoDotsShareAStringOnlyInTheMinorSeventhsOfDAndDSharp) {
    std::map<std::string, std::vector<FingerDot>> doubled;
    forEachCell([&](const std::string& cell, const ChordShape& shape) {
        for (int string = 1; string <= chords::kStringCount; ++string) {
            std::vector<FingerDot> onString;
            std::copy_if(shape.dots.begin(), shape.dots.end(), std::back_inserter(onString),
                         [&](const FingerDot& dot) { return dot.string == string; });
            if (onString.size() > 1) doubled[cell] = onString;
        }
    });
    const std::map<std::string, std::vector<FingerDot>> expected = {
        {"D m7", {{2, 1}, {2, 3}}},
        {"D#/E♭ m7", {{2, 2}, {2, 4}}},
    };
    EXPECT_EQ(doubled, expected);
}

TEST(ChordTable, UnmarkedStringsLieUnderABarreWithEveryDotAboveIt) {
    std::set<int> barreFrets;
    forEachCell([&](const std::string& cell, const ChordShape& shape) {
        for (int string = 1; string <= chords::kStringCount; ++string) {
            const bool marked = shape.status[static_cast<size_t>(string - 1)] != StringStatus::None;
            const bool dotted = std::any_of(shape.dots.begin(), shape.dots.end(),
                                            [&](const FingerDot& dot) { return dot.string == string; });
            if (!marked && !dotted) {
                EXPECT_TRUE(shape.barreFret) << cell << ", string " << string;
            }
        }
        if (!shape.barreFret) return;
        barreFrets.insert(*shape.barreFret);
        for (const auto status : shape.status) EXPECT_EQ(status, StringStatus::None) << cell;
        for (const auto& dot : shape.dots) EXPECT_GT(dot.fret, *shape.barreFret) << cell;
    });
    EXPECT_EQ(barreFrets, (std::set<int>{1, 2, 3}));
}

TEST(ChordTable, MutedMarksOnlyOnTheFifthStringOfSixCells) {
    std::set<std::string> mutedCells;
    forEachCell([&](const std::string& cell, const ChordShape& shape) {
        for (int string = 1; string <= chords::kStringCount; ++string) {
            if (shape.status[static_cast<size_t>(string - 1)] != StringStatus::Muted) continue;
            EXPECT_EQ(string, 5) << cell;
            mutedCells.insert(cell);
        }
    });
    EXPECT_EQ(mutedCells, (std::set<std::string>{"D#/E♭ -", "D#/E♭ m", "G#/A♭ -", "G#/A♭ m", "G#/A♭ 7", "F#/G♭ -"}));
}

TEST(ChordTable, DotsAreSortedWithinTheDiagram) {
    forEachCell([](const std::string& cell, const ChordShape& shape) {
        EXPECT_TRUE(std::is_sorted(shape.dots.begin(), shape.dots.end())) << cell;
        for (const auto& dot : shape.dots) {
            EXPECT_TRUE(dot.string >= 1 && dot.string <= 5 && dot.fret >= 1 && dot.fret <= 4) << cell;
        }
    });
}

}  // namespace
