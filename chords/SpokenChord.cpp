#include "chords/SpokenChord.h"

#include "chords/ChordName.h"
#include "platform/core/Bundle.h"

namespace chords {
namespace {

std::string spoken(const char* key, const char* english) {
    return platform::Bundle::mainBundle()->localizedString(key, english, "");
}

// "A#" as "A sharp", "B♭" as "B flat".
std::string spokenRoot(std::string_view root) {
    static constexpr std::string_view kFlat = "\u266d";
    if (root.size() > 1 && root.substr(1) == "#") return std::string(root.substr(0, 1)) + " " + spoken("SpokenSharp", "sharp");
    if (root.substr(1) == kFlat) return std::string(root.substr(0, 1)) + " " + spoken("SpokenFlat", "flat");
    return std::string(root);
}

std::string spokenVariant(std::string_view variantKey) {
    if (variantKey == "m") return spoken("SpokenMinor", "minor");
    if (variantKey == "7") return spoken("SpokenSeventh", "seventh");
    if (variantKey == "m7") return spoken("SpokenMinorSeventh", "minor seventh");
    return spoken("SpokenMajor", "major");
}

}  // namespace

std::string spokenChord(const ChordShape& shape, std::string_view rootKey, std::string_view variantKey,
                        bool flatSpelling) {
    const std::string string = spoken("SpokenString", "string");
    const std::string fret = spoken("SpokenFret", "fret");
    std::string text = spokenRoot(spelledRoot(rootKey, flatSpelling)) + " " + spokenVariant(variantKey) + ":";
    for (int s = 1; s <= kStringCount; ++s) {
        std::string where;
        const StringStatus status = shape.status[static_cast<size_t>(s - 1)];
        if (status == StringStatus::Open) where = spoken("SpokenOpen", "open");
        if (status == StringStatus::Muted) where = spoken("SpokenMuted", "muted");
        for (const FingerDot& dot : shape.dots) {
            if (dot.string == s) where += (where.empty() ? "" : ", ") + fret + " " + std::to_string(dot.fret);
        }
        if (where.empty() && shape.barreFret) where = fret + " " + std::to_string(*shape.barreFret);
        text += (s == 1 ? " " : ", ") + string + " " + std::to_string(s) + (where.empty() ? "" : " " + where);
    }
    return text;
}

}  // namespace chords
