#pragma once
// How a chord is named: its root spelled with sharps or with flats, then the
// suffix of its chord type. "A#/B♭" with "m7" is "A#m7" or "B♭m7"; "C" with
// "-" is "C" either way. Only the name depends on the spelling, never the
// fingering.

#include <string>
#include <string_view>

namespace chords {

// The root key's spelling: a key naming two notes ("A#/B♭") is written as its
// sharp before the slash or its flat after it; any other key as it stands.
std::string_view spelledRoot(std::string_view rootKey, bool flatSpelling);

// The variant key's suffix: none for the plain chord "-", else the key itself.
std::string_view variantSuffix(std::string_view variantKey);

std::string chordName(std::string_view rootKey, std::string_view variantKey, bool flatSpelling);

}  // namespace chords
