#pragma once
// One fingering of the chord chart on the five-string, four-fret diagram, and
// the short text the chord table writes it in.

#include <array>
#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chords {

// Diagram strings are numbered by course: 1 E5, 2 A4, 3 E4, 4 C5, 5 G4.
inline constexpr int kStringCount = 5;
// Frets 1 to 4 from the nut; no shape lies higher up the neck.
inline constexpr int kFretCount = 4;

enum class StringStatus { None, Open, Muted };

// A finger on `string` (1..5) at `fret` (1..4).
struct FingerDot {
    int string = 0;
    int fret = 0;
    auto operator<=>(const FingerDot&) const = default;
};

struct ChordShape {
    // Index 0 is string 1.
    std::array<StringStatus, kStringCount> status{};
    // Sorted by string, then fret.
    std::vector<FingerDot> dots;
    // The fret of a finger across all strings, if any.
    std::optional<int> barreFret;

    bool operator==(const ChordShape&) const = default;
};

// The outcome of reading a shape's text: the shape, or why the text is wrong.
struct ShapeParse {
    std::optional<ChordShape> shape;
    std::string error;
};

// Reads a shape written as five marks for strings 1 to 5, separated by single
// spaces, optionally followed by a barre:
//   o      open string          x      muted string
//   2      a dot at fret 2      1+3    dots at frets 1 and 3
//   =      no mark of its own (the string lies under the barre)
//   b1     (after the five marks) a barre at fret 1
// e.g. "o o o 1 2" or "= = = 2 3 b1".
ShapeParse parseChordShape(std::string_view text);

}  // namespace chords
