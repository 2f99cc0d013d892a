#include "chords/ChordTable.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace chords {
namespace {

using ShapeTable = std::array<std::array<ChordShape, kVariantCount>, kRootCount>;

template <size_t N>
std::optional<size_t> indexOf(const std::array<std::string_view, N>& keys, std::string_view key) {
    const auto it = std::find(keys.begin(), keys.end(), key);
    if (it == keys.end()) return std::nullopt;
    return static_cast<size_t>(it - keys.begin());
}

ShapeTable readTable() {
    ShapeTable table;
    for (size_t row = 0; row < kRootCount; ++row) {
        for (size_t column = 0; column < kVariantCount; ++column) {
            auto parsed = parseChordShape(kChordTableText[row].cells[column]);
            if (!parsed.shape) {
                // The table is fixed data checked by the tests: a bad cell is a
                // programming error, and no chord screen can be drawn without it.
                std::fprintf(stderr, "chord table, %s with %s: %s\n", std::string(kRootKeys[row]).c_str(),
                             std::string(kVariantKeys[column]).c_str(), parsed.error.c_str());
                std::abort();
            }
            table[row][column] = std::move(*parsed.shape);
        }
    }
    return table;
}

}  // namespace

std::optional<size_t> rootRow(std::string_view rootKey) { return indexOf(kRootKeys, rootKey); }

std::optional<size_t> variantColumn(std::string_view variantKey) { return indexOf(kVariantKeys, variantKey); }

std::optional<ChordCell> findCell(std::string_view rootKey, std::string_view variantKey) {
    const auto row = rootRow(rootKey);
    const auto column = variantColumn(variantKey);
    if (!row || !column) return std::nullopt;
    return ChordCell{*row, *column};
}

const ChordShape& shapeAt(ChordCell cell) {
    static const ShapeTable table = readTable();
    return table.at(cell.row).at(cell.column);
}

}  // namespace chords
