#include "app/ChordCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <memory>
#include <ostream>
#include <optional>
#include <string_view>
#include <vector>

#include "chords/ChordName.h"
#include "chords/ChordTable.h"
#include "platform/core/TerminalText.h"
#include "sound/Courses.h"

namespace app {
namespace {

constexpr std::string_view kFlatSign = "♭";
// The open pitches of the diagram's strings 1 to 5.
// The terminal diagram: a label column ("fret 1"), at least this wide and one
// wider than its longest label, then a column per string.
constexpr size_t kLeastLabelWidth = 8;
constexpr size_t kColumnWidth = 3;

struct Options {
    std::string root;
    std::string variant;
    bool flat = false;
    bool json = false;
};

std::string joined(std::span<const std::string_view> words) {
    std::string text;
    for (const auto word : words) text += (text.empty() ? "" : ", ") + std::string(word);
    return text;
}

// "Bb" and "A#/Bb" for "B♭" and "A#/B♭": a lower-case b after the note letter is a flat sign.
std::string withFlatSigns(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && text[i] == 'b') {
            out += kFlatSign;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The root key written as `text`: the key itself or either of its spellings.
std::optional<size_t> rootRowFor(std::string_view text) {
    const std::string wanted = withFlatSigns(text);
    for (size_t row = 0; row < chords::kRootCount; ++row) {
        const auto key = chords::kRootKeys[row];
        if (wanted == key || wanted == chords::spelledRoot(key, false) || wanted == chords::spelledRoot(key, true)) {
            return row;
        }
    }
    return std::nullopt;
}

std::string trimmedRight(std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

std::string repeated(std::string_view glyph, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += glyph;
    return text;
}

// The columns `text` takes on a terminal: one per character.
size_t columns(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The label column: `label` filled out with spaces to `width` columns.
std::string labelColumn(std::string label, size_t width) {
    label.append(width - std::min(width, columns(label)), ' ');
    return label;
}

// A line of plain text marks: `label`, then each string's mark in its column.
std::string markLine(const std::string& label, size_t labelWidth,
                     const std::array<std::string, chords::kStringCount>& marks) {
    std::string line = labelColumn(label, labelWidth);
    for (const auto& mark : marks) line += mark + std::string(kColumnWidth - std::min(mark.size(), kColumnWidth - 1), ' ');
    return trimmedRight(std::move(line)) + "\n";
}

// A fret: each string a line, a finger a dot, a barre a bold line across all strings.
std::string fretLine(const chords::ChordShape& shape, int fret, const std::string& label, size_t labelWidth) {
    const bool barre = shape.barreFret == fret;
    std::string line = labelColumn(label, labelWidth);
    for (int string = 1; string <= chords::kStringCount; ++string) {
        const bool dot = std::find(shape.dots.begin(), shape.dots.end(), chords::FingerDot{string, fret}) !=
                         shape.dots.end();
        line += dot ? "●" : barre ? "━" : "│";
        if (string < chords::kStringCount) line += barre ? repeated("━", kColumnWidth - 1) : std::string(kColumnWidth - 1, ' ');
    }
    return line + (barre ? "  " + platform::terminalText("barre") : "") + "\n";
}

std::string diagram(const chords::ChordShape& shape, const std::string& name) {
    static_assert(sound::kCourses.size() == chords::kStringCount);
    std::array<std::string, chords::kStringCount> numbers, pitches, status;
    for (size_t s = 0; s < chords::kStringCount; ++s) {
        numbers[s] = std::to_string(s + 1);
        pitches[s] = std::string(sound::kCourses[s].note);
        status[s] = shape.status[s] == chords::StringStatus::Open    ? "o"
                    : shape.status[s] == chords::StringStatus::Muted ? "x"
                                                                     : "";
    }
    const std::string stringLabel = platform::terminalText("string");
    std::array<std::string, chords::kFretCount> fretLabels;
    size_t labelWidth = std::max(kLeastLabelWidth, columns(stringLabel) + 1);
    for (int fret = 1; fret <= chords::kFretCount; ++fret) {
        auto& label = fretLabels[static_cast<size_t>(fret - 1)];
        label = platform::terminalText("fret %@", fret);
        labelWidth = std::max(labelWidth, columns(label) + 1);
    }
    std::string text = name + "\n";
    text += markLine(stringLabel, labelWidth, numbers);
    text += markLine("", labelWidth, pitches);
    text += markLine("", labelWidth, status);
    // The nut, one column wider than the strings on either side.
    text += std::string(labelWidth - 1, ' ') + repeated("═", chords::kStringCount * kColumnWidth) + "\n";
    for (int fret = 1; fret <= chords::kFretCount; ++fret) {
        text += fretLine(shape, fret, fretLabels[static_cast<size_t>(fret - 1)], labelWidth);
    }
    text += platform::terminalText("o open  x muted  ● finger  ━ barre") + "\n";
    return text;
}

std::string jsonString(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string json(const chords::ChordShape& shape, const std::string& name, std::string_view root,
                 std::string_view variant) {
    std::string status, dots;
    for (const auto mark : shape.status) {
        status += std::string(status.empty() ? "" : ", ") +
                  (mark == chords::StringStatus::Open    ? "\"open\""
                   : mark == chords::StringStatus::Muted ? "\"muted\""
                                                         : "null");
    }
    for (const auto& finger : shape.dots) {
        dots += std::string(dots.empty() ? "" : ", ") + "[" + std::to_string(finger.string) + ", " +
                std::to_string(finger.fret) + "]";
    }
    return "{\"name\": " + jsonString(name) + ", \"root\": " + jsonString(root) + ", \"variant\": " + jsonString(variant) +
           ", \"status\": [" + status + "], \"dots\": [" + dots + "], \"barre\": " +
           (shape.barreFret ? std::to_string(*shape.barreFret) : "null") + "}\n";
}

int runChord(const Options& options, std::ostream& out, std::ostream& err) {
    const auto row = rootRowFor(options.root);
    if (!row) {
        err << "pallqa-tuner chord: "
            << platform::terminalText(
                   "unknown root \"%@\"; use one of %@, or one spelling of a two-named root such as A#, Bb or B♭",
                   options.root, joined(chords::kRootKeys))
            << "\n";
        return platform::kUsageError;
    }
    const auto column = chords::variantColumn(options.variant);
    if (!column) {
        err << "pallqa-tuner chord: "
            << platform::terminalText("unknown chord type \"%@\"; use one of %@", options.variant,
                                      joined(chords::kVariantKeys))
            << "\n";
        return platform::kUsageError;
    }
    const auto root = chords::kRootKeys[*row];
    const auto variant = chords::kVariantKeys[*column];
    const auto& shape = chords::shapeAt({*row, *column});
    const auto name = chords::chordName(root, variant, options.flat);
    out << (options.json ? json(shape, name, root, variant) : diagram(shape, name));
    return 0;
}

}  // namespace

platform::CommandDefinition chordCommand() {
    return {"chord",
            platform::terminalText("draw the fingering of a chord (ROOT such as A, A#/B♭, Bb; VARIANT -, m, 7 or m7)"),
            [](CLI::App& command) -> platform::CommandRunner {
                auto options = std::make_shared<Options>();
                command
                    .add_option(platform::terminalText("ROOT"), options->root,
                                platform::terminalText("the root, one of %@ (A#, Bb or B♭ alone will do)",
                                                       joined(chords::kRootKeys)))
                    ->required();
                command
                    .add_option(platform::terminalText("VARIANT"), options->variant,
                                platform::terminalText("the chord type, one of %@ (- is major)",
                                                       joined(chords::kVariantKeys)))
                    ->required();
                command.add_flag("--flat", options->flat, platform::terminalText("name a two-named root with its flat"));
                command.add_flag("--json", options->json, platform::terminalText("print the fingering as one JSON object"));
                command.footer(platform::terminalText("Reads only the chord table: no stored setting is touched."));
                return [options](std::ostream& out, std::ostream& err) { return runChord(*options, out, err); };
            }};
}

}  // namespace app
