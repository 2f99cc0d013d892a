// `pallqa-tuner chord`: the JSON object and diagram of a cell, root spellings,
// and the errors for unknown roots and chord types.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "app/ChordCommand.h"
#include "chords/ChordName.h"
#include "chords/ChordTable.h"
#include "platform/store/UserDefaults.h"
#include "tests/support/Commands.h"
#include "tests/support/InLanguage.h"

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run chord(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    const int status = testing_support::runCommand(app::chordCommand(), arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(ChordCommand, PrintsOneJsonObjectExactlyInItsFormat) {
    const auto run = chord({"Bb", "m7", "--flat", "--json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "{\"name\": \"B♭m7\", \"root\": \"A#/B♭\", \"variant\": \"m7\", \"status\": [null, null, null, null, "
              "null], \"dots\": [[3, 4], [5, 3]], \"barre\": 1}\n");
    EXPECT_EQ(chord({"C", "-", "--json"}).out,
              "{\"name\": \"C\", \"root\": \"C\", \"variant\": \"-\", \"status\": [\"open\", null, \"open\", \"open\", "
              "\"open\"], \"dots\": [[2, 3]], \"barre\": null}\n");
}

TEST(ChordCommand, JsonOfSeveralCells) {
    struct Case {
        std::vector<std::string> arguments;
        nlohmann::json expected;
    };
    const std::vector<Case> cases = {
        {{"D", "m7", "--json"},
         {{"name", "Dm7"},
          {"root", "D"},
          {"variant", "m7"},
          {"status", {nullptr, nullptr, nullptr, nullptr, nullptr}},
          {"dots", {{1, 1}, {2, 1}, {2, 3}, {3, 1}, {4, 2}, {5, 2}}},
          {"barre", nullptr}}},
        {{"--json", "G#", "-"},
         {{"name", "G#"},
          {"root", "G#/A♭"},
          {"variant", "-"},
          {"status", {nullptr, nullptr, nullptr, nullptr, "muted"}},
          {"dots", {{1, 4}, {2, 3}, {3, 4}, {4, 3}}},
          {"barre", nullptr}}},
        {{"E♭", "7", "--json", "--flat"},
         {{"name", "E♭7"},
          {"root", "D#/E♭"},
          {"variant", "7"},
          {"status", {nullptr, nullptr, nullptr, nullptr, nullptr}},
          {"dots", {{1, 4}}},
          {"barre", 3}}},
        {{"A", "m", "--json"},
         {{"name", "Am"},
          {"root", "A"},
          {"variant", "m"},
          {"status", {"open", "open", "open", "open", nullptr}},
          {"dots", {{5, 2}}},
          {"barre", nullptr}}},
    };
    for (const auto& c : cases) {
        const auto run = chord(c.arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(nlohmann::json::parse(run.out), c.expected) << run.out;
    }
}

// The command must print every cell as the table holds it.
TEST(ChordCommand, JsonOfEveryCellMatchesTheTable) {
    for (size_t row = 0; row < chords::kRootCount; ++row) {
        for (size_t column = 0; column < chords::kVariantCount; ++column) {
            const std::string root(chords::kRootKeys[row]);
            const std::string variant(chords::kVariantKeys[column]);
            const auto json = nlohmann::json::parse(chord({root, variant, "--json"}).out);
            const auto& shape = chords::shapeAt({row, column});
            EXPECT_EQ(json["name"], chords::chordName(root, variant, false));
            EXPECT_EQ(json["root"], root);
            EXPECT_EQ(json["variant"], variant);
            ASSERT_EQ(json["status"].size(), 5u);
            for (size_t s = 0; s < 5; ++s) {
                const auto expected = shape.status[s] == chords::StringStatus::Open    ? nlohmann::json("open")
                                      : shape.status[s] == chords::StringStatus::Muted ? nlohmann::json("muted")
                                                                                       : nlohmann::json(nullptr);
                EXPECT_EQ(json["status"][s], expected) << root << " " << variant;
            }
            std::vector<std::vector<int>> dots;
            for (const auto& dot : shape.dots) dots.push_back({dot.string, dot.fret});
            EXPECT_EQ(json["dots"], nlohmann::json(dots)) << root << " " << variant;
            EXPECT_EQ(json["barre"], shape.barreFret ? nlohmann::json(*shape.barreFret) : nlohmann::json(nullptr));
        }
    }
}

TEST(ChordCommand, AcceptsTheKeyOrEitherSpellingOfARoot) {
    for (const auto* spelling : {"A#/B♭", "A#", "B♭", "Bb", "A#/Bb"}) {
        const auto json = nlohmann::json::parse(chord({spelling, "-", "--json"}).out);
        EXPECT_EQ(json["root"], "A#/B♭") << spelling;
        EXPECT_EQ(json["name"], "A#") << spelling;
    }
    EXPECT_EQ(nlohmann::json::parse(chord({"A#", "-", "--json", "--flat"}).out)["name"], "B♭");
}

TEST(ChordCommand, DrawsTheDiagramUnderTheName) {
    const auto run = chord({"Bb", "m7", "--flat"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "B♭m7\n"
              "string  1  2  3  4  5\n"
              "        E5 A4 E4 C5 G4\n"
              "\n"
              "       ═══════════════\n"
              "fret 1  ━━━━━━━━━━━━━  barre\n"
              "fret 2  │  │  │  │  │\n"
              "fret 3  │  │  │  │  ●\n"
              "fret 4  │  │  ●  │  │\n"
              "o open  x muted  ● finger  ━ barre\n");
    EXPECT_EQ(chord({"D#", "-"}).out,
              "D#\n"
              "string  1  2  3  4  5\n"
              "        E5 A4 E4 C5 G4\n"
              "                    x\n"
              "       ═══════════════\n"
              "fret 1  │  ●  │  │  │\n"
              "fret 2  │  │  │  │  │\n"
              "fret 3  ●  │  ●  ●  │\n"
              "fret 4  │  │  │  │  │\n"
              "o open  x muted  ● finger  ━ barre\n");
}

// The labels, the legend and the errors are the user's language; the chord's
// name, the pitches and the JSON are the same in every language.
TEST(ChordCommand, SpeaksSpanishAroundTheSameChord) {
    const testing_support::InLanguage spanish("es");
    EXPECT_EQ(chord({"Bb", "m7", "--flat"}).out,
              "B♭m7\n"
              "cuerda   1  2  3  4  5\n"
              "         E5 A4 E4 C5 G4\n"
              "\n"
              "        ═══════════════\n"
              "traste 1 ━━━━━━━━━━━━━  cejilla\n"
              "traste 2 │  │  │  │  │\n"
              "traste 3 │  │  │  │  ●\n"
              "traste 4 │  │  ●  │  │\n"
              "o al aire  x apagada  ● dedo  ━ cejilla\n");
    EXPECT_EQ(chord({"C", "-", "--json"}).out,
              "{\"name\": \"C\", \"root\": \"C\", \"variant\": \"-\", \"status\": [\"open\", null, \"open\", \"open\", "
              "\"open\"], \"dots\": [[2, 3]], \"barre\": null}\n");
    const auto unknown = chord({"H", "m"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err,
              "pallqa-tuner chord: tónica desconocida \"H\"; usa una de A, A#/B♭, B, C, C#/D♭, D, D#/E♭, E, F, F#/G♭, "
              "G, G#/A♭, o una grafía de una tónica de dos nombres, como A#, Bb o B♭\n");
    EXPECT_EQ(chord({"A"}).err, "pallqa-tuner: falta TIPO\nEjecuta 'pallqa-tuner chord --help' para ver el modo de empleo.\n");
}

TEST(ChordCommand, RejectsUnknownRootsAndTypesNamingTheAcceptedOnes) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> mentioned;
    };
    const std::vector<Case> cases = {
        {{"H", "m"}, {"unknown root \"H\"", "A, A#/B♭, B, C, C#/D♭, D, D#/E♭, E, F, F#/G♭, G, G#/A♭"}},
        {{"Cb", "m"}, {"unknown root \"Cb\""}},
        {{"a", "m", "--json"}, {"unknown root \"a\""}},
        {{"A", "9"}, {"unknown chord type \"9\"", "-, m, 7, m7"}},
        {{"A", "M7", "--json"}, {"unknown chord type \"M7\""}},
        {{"A"}, {"VARIANT is required", "pallqa-tuner chord --help"}},
        {{"A", "m", "7"}, {"unexpected argument \"7\""}},
        {{"A", "m", "--sharp"}, {"unknown option \"--sharp\""}},
    };
    for (const auto& c : cases) {
        const auto run = chord(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        ASSERT_FALSE(run.err.empty());
        for (const auto& text : c.mentioned) EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
    }
}

TEST(ChordCommand, LeavesTheStoredCountersAlone) {
    auto store = platform::UserDefaults::inMemory("chord-command");
    platform::UserDefaults::setStandardUserDefaults(store);
    chord({"C", "7"});
    chord({"C", "7", "--json", "--flat"});
    EXPECT_TRUE(store->dictionaryRepresentation().empty());
    platform::UserDefaults::setStandardUserDefaults(nullptr);
}

}  // namespace
