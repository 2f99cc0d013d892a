#include "chords/ChordName.h"

namespace chords {

std::string_view spelledRoot(std::string_view rootKey, bool flatSpelling) {
    const size_t slash = rootKey.find('/');
    if (slash == std::string_view::npos) return rootKey;
    return flatSpelling ? rootKey.substr(slash + 1) : rootKey.substr(0, slash);
}

std::string_view variantSuffix(std::string_view variantKey) { return variantKey == "-" ? "" : variantKey; }

std::string chordName(std::string_view rootKey, std::string_view variantKey, bool flatSpelling) {
    return std::string(spelledRoot(rootKey, flatSpelling)) + std::string(variantSuffix(variantKey));
}

}  // namespace chords
