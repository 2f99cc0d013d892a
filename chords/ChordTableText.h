#pragma once
// The chord chart's 48 fingerings as a musician writes them: one line per root,
// one cell per chord type, each cell the marks of strings 1 (E5) to 5 (G4) from
// left to right:
//   o open   x muted   2 a finger at fret 2   1+3 fingers at frets 1 and 3
//   = no mark of its own (under the barre)    b1 a barre at fret 1
// The cells are fixed fingerings, not derived from intervals or the tuning:
// each holds exactly the marks to draw, even where one sounds a note outside
// the named chord (the open first string of B7 and Bm7).

#include <array>
#include <string_view>

namespace chords {

inline constexpr size_t kRootCount = 12;
inline constexpr size_t kVariantCount = 4;

// The chord types, in the order of their picker. "-" is the plain chord.
inline constexpr std::array<std::string_view, kVariantCount> kVariantKeys = {"-", "m", "7", "m7"};

struct ChordRowText {
    std::string_view rootKey;
    std::array<std::string_view, kVariantCount> cells;  // in kVariantKeys order
};

// Rows in the order of the root picker. "#" is the ASCII number sign, "♭" U+266D.
inline constexpr std::array<ChordRowText, kRootCount> kChordTableText = {{
    //            "-"              "m"              "7"              "m7"
    {"A",      {"o o o 1 2",     "o o o o 2",     "o o 3 1 2",     "o o 3 o 2"}},
    {"A#/B♭",  {"= = = 2 3 b1",  "= = = = 3 b1",  "= = 4 2 3 b1",  "= = 4 = 3 b1"}},
    {"B",      {"= = = 3 4 b2",  "= = = = 4 b2",  "o o 2 3 4",     "o o 2 2 4"}},
    {"C",      {"o 3 o o o",     "3 3 3 3 o",     "o 1 o o o",     "3 1 3 o 3"}},
    {"C#/D♭",  {"= 4 = = = b1",  "4 4 4 4 1",     "= 2 = = = b1",  "4 2 4 = = b1"}},
    {"D",      {"2 o 2 2 2",     "1 o 1 2 2",     "2 o 2 o 2",     "1 1+3 1 2 2"}},
    {"D#/E♭",  {"3 1 3 3 x",     "2 1 2 3 x",     "4 = = = = b3",  "2 2+4 2 3 3"}},
    {"E",      {"o 2 o 4 1",     "o 2 3 4 o",     "o 2 o 2 1",     "o 2 o 2 o"}},
    {"F",      {"1 o 1 o 2",     "1 3 1 o 1",     "1 o 1 3 2",     "= 3 = 3 = b1"}},
    {"F#/G♭",  {"2 1 2 1 x",     "2 o 2 1 2",     "o 1 2 1 3",     "o o 2 1 2"}},
    {"G",      {"3 2 3 2 o",     "3 1 3 2 o",     "1 2 1 2 o",     "1 1 3 2 o"}},
    {"G#/A♭",  {"4 3 4 3 x",     "4 2 4 3 x",     "2 3 2 3 x",     "= 2 4 3 = b1"}},
}};

// The roots, in the order of their picker: the first column of the table.
inline constexpr std::array<std::string_view, kRootCount> kRootKeys = [] {
    std::array<std::string_view, kRootCount> keys{};
    for (size_t row = 0; row < kRootCount; ++row) keys[row] = kChordTableText[row].rootKey;
    return keys;
}();

}  // namespace chords
