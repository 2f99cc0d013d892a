#pragma once
// A chord as a screen reader says it, the diagram put in words:
// "A minor: string 1 open, string 2 fret 2, string 3 fret 2, string 4 fret 1,
// string 5 open". The words come from the string table, English where it has none.

#include <string>
#include <string_view>

#include "chords/ChordShape.h"

namespace chords {

std::string spokenChord(const ChordShape& shape, std::string_view rootKey, std::string_view variantKey,
                        bool flatSpelling);

}  // namespace chords
