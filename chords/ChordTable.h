#pragma once
// The chord table looked up by its keys: a root key ("A#/B♭") picks the row, a
// variant key ("m7") the column, and the cell gives the fingering.

#include <cstddef>
#include <optional>
#include <string_view>

#include "chords/ChordShape.h"
#include "chords/ChordTableText.h"

namespace chords {

struct ChordCell {
    size_t row = 0;     // index into kRootKeys
    size_t column = 0;  // index into kVariantKeys
};

// The row of a root key, compared for exact equality; none for any other text.
std::optional<size_t> rootRow(std::string_view rootKey);
// The column of a variant key, compared for exact equality; none for any other text.
std::optional<size_t> variantColumn(std::string_view variantKey);
// The cell of a root key and a variant key; none unless both are keys.
std::optional<ChordCell> findCell(std::string_view rootKey, std::string_view variantKey);

// The fingering of a cell (row below kRootCount, column below kVariantCount).
// The table is read from its text once, on first use.
const ChordShape& shapeAt(ChordCell cell);

}  // namespace chords
