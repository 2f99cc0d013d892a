// Reading a fingering from the short text the chord table is written in.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chords/ChordShape.h"
#include "chords/ChordTableText.h"

namespace {

using chords::ChordShape;
using chords::StringStatus;

TEST(ChordShapeText, ReadsMarksDotsAndBarre) {
    constexpr auto O = StringStatus::Open;
    constexpr auto X = StringStatus::Muted;
    constexpr auto N = StringStatus::None;
    struct Case {
        const char* text;
        ChordShape shape;
    };
    const std::vector<Case> cases = {
        {"o o o 1 2", {{O, O, O, N, N}, {{4, 1}, {5, 2}}, std::nullopt}},
        {"= = = 2 3 b1", {{N, N, N, N, N}, {{4, 2}, {5, 3}}, 1}},
        {"3 1 3 3 x", {{N, N, N, N, X}, {{1, 3}, {2, 1}, {3, 3}, {4, 3}}, std::nullopt}},
        {"1 3+1 1 2 2", {{N, N, N, N, N}, {{1, 1}, {2, 1}, {2, 3}, {3, 1}, {4, 2}, {5, 2}}, std::nullopt}},
        {"4 = = = = b4", {{N, N, N, N, N}, {{1, 4}}, 4}},
    };
    for (const auto& c : cases) {
        const auto parsed = chords::parseChordShape(c.text);
        ASSERT_TRUE(parsed.shape) << c.text << ": " << parsed.error;
        EXPECT_EQ(*parsed.shape, c.shape) << c.text;
        EXPECT_EQ(parsed.error, "");
    }
}

TEST(ChordShapeText, RejectsMalformedTextNamingTheFault) {
    struct Case {
        const char* text;
        const char* errorPart;
    };
    const std::vector<Case> cases = {
        {"", "expected 5 marks"},
        {"o o o 1", "expected 5 marks"},
        {"o o o 1 2 b1 b2", "expected 5 marks"},
        {"o  o o 1 2", "string 2: \"\" is not"},
        {"o o o 1 5", "string 5: \"5\" is not o, x, =, a fret 1 to 4"},
        {"o o o 0 2", "string 4: \"0\""},
        {"O o o 1 2", "string 1: \"O\""},
        {"o o o 1 2+", "string 5: \"2+\""},
        {"o o o 1 12", "string 5: \"12\""},
        {"o 2+2 o 1 2", "string 2: fret 2 is given twice"},
        {"= = = 2 3 barre1", "\"barre1\" is not a barre"},
        {"= = = 2 3 b5", "\"b5\" is not a barre"},
        {"= = = 2 3 b", "\"b\" is not a barre"},
    };
    for (const auto& c : cases) {
        const auto parsed = chords::parseChordShape(c.text);
        EXPECT_FALSE(parsed.shape) << c.text;
        EXPECT_NE(parsed.error.find(c.errorPart), std::string::npos) << c.text << " gave: " << parsed.error;
    }
}

// A typing slip in the table is a programming error: it must show here, not
// when a user first opens that chord.
TEST(ChordShapeText, EveryCellOfTheTableReads) {
    for (const auto& row : chords::kChordTableText) {
        for (size_t column = 0; column < row.cells.size(); ++column) {
            const auto parsed = chords::parseChordShape(row.cells[column]);
            EXPECT_TRUE(parsed.shape) << row.rootKey << " " << chords::kVariantKeys[column] << ": " << parsed.error;
        }
    }
}

}  // namespace
