#include "chords/ChordShape.h"

#include <algorithm>

namespace chords {
namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> words;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        words.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return words;
        start = end + 1;
    }
}

std::optional<int> fretNumber(std::string_view text) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kFretCount) return std::nullopt;
    return text[0] - '0';
}

// Reads one string's mark into `shape`; returns the error, empty when the mark is good.
std::string readMark(std::string_view mark, int string, ChordShape& shape) {
    const auto where = "string " + std::to_string(string) + ": ";
    if (mark == "o") {
        shape.status[static_cast<size_t>(string - 1)] = StringStatus::Open;
        return {};
    }
    if (mark == "x") {
        shape.status[static_cast<size_t>(string - 1)] = StringStatus::Muted;
        return {};
    }
    if (mark == "=") return {};
    std::vector<int> frets;
    for (const auto fretText : split(mark, '+')) {
        const auto fret = fretNumber(fretText);
        if (!fret) {
            return where + "\"" + std::string(mark) + "\" is not o, x, =, a fret 1 to " +
                   std::to_string(kFretCount) + " or frets joined by +";
        }
        if (std::find(frets.begin(), frets.end(), *fret) != frets.end()) {
            return where + "fret " + std::to_string(*fret) + " is given twice";
        }
        frets.push_back(*fret);
    }
    std::sort(frets.begin(), frets.end());
    for (const int fret : frets) shape.dots.push_back({string, fret});
    return {};
}

}  // namespace

ShapeParse parseChordShape(std::string_view text) {
    const auto words = split(text, ' ');
    if (words.size() != kStringCount && words.size() != kStringCount + 1) {
        return {std::nullopt, "\"" + std::string(text) + "\": expected " + std::to_string(kStringCount) +
                                  " marks separated by single spaces, then optionally a barre such as b1"};
    }
    ChordShape shape;
    for (int string = 1; string <= kStringCount; ++string) {
        auto error = readMark(words[static_cast<size_t>(string - 1)], string, shape);
        if (!error.empty()) return {std::nullopt, "\"" + std::string(text) + "\": " + error};
    }
    if (words.size() == kStringCount + 1) {
        const auto barre = words.back();
        const auto fret = barre.size() == 2 && barre[0] == 'b' ? fretNumber(barre.substr(1)) : std::nullopt;
        if (!fret) {
            return {std::nullopt, "\"" + std::string(text) + "\": \"" + std::string(barre) +
                                      "\" is not a barre; write b and a fret 1 to " + std::to_string(kFretCount)};
        }
        shape.barreFret = *fret;
    }
    return {std::move(shape), {}};
}

}  // namespace chords
