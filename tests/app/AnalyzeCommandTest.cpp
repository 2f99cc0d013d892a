// `pallqa-tuner analyze`: one line per capture buffer of a recording, as text
// or JSON, and one line on stderr with exit status 1 for a file it cannot read.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/AnalyzeCommand.h"
#include "platform/audio/desktop/SoundFileRecording.h"
#include "tests/pitch/PluckedString.h"
#include "tests/support/WaveFiles.h"
#include "tests/support/Commands.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using namespace pitch_testing;

struct Run {
    int status;
    std::vector<std::string> lines;
    std::string errors;
};

Run analyze(std::vector<std::string> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    // The command over real files, read as the program reads them.
    platform::setRecordingOpener(platform::media::openSoundFileRecording);
    const int status = testing_support::runCommand(app::analyzeCommand(), arguments, out, err);
    Run run{status, {}, err.str()};
    std::istringstream text(out.str());
    for (std::string line; std::getline(text, line);) run.lines.push_back(line);
    return run;
}

// A second of one plucked string at the capture rate: three whole buffers and
// a last one of 1751 samples.
fs::path recordOneString(double pitch) {
    const auto path = testing_support::temporaryFolder() / "string.wav";
    platform_testing::writeWave(path, pluckedString({.frequency = pitch}, 14039), 14039);
    return path;
}

TEST(AnalyzeCommand, WritesOneLineOfTimeFrequencyBinNoteAndLevelPerBuffer) {
    const auto run = analyze({recordOneString(kA4).string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    ASSERT_EQ(run.lines.size(), 4u);
    EXPECT_EQ(run.lines[0].substr(0, 48), "    0.000 s   440.00406 Hz  bin  1027  A4  level");
    EXPECT_EQ(run.lines[3].substr(0, 48), "    0.875 s   440.00406 Hz  bin  1027  A4  level");
}

TEST(AnalyzeCommand, WritesOneJsonObjectPerBufferWithANullNoteWhenNothingMatches) {
    const auto run = analyze({"--json", recordOneString(kA4).string()});
    ASSERT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), 4u);
    EXPECT_EQ(run.lines[0].rfind(R"({"t": 0.0, "bin": 1027, "hz": 440.00406, "note": "A4", "level": 0.)", 0), 0u)
        << run.lines[0];
    const auto last = nlohmann::json::parse(run.lines[3]);
    EXPECT_EQ(last["t"], 0.875276);  // 3 × 4096 / 14039, to the microsecond
    EXPECT_EQ(last["bin"], 1027);
    EXPECT_GT(last["level"].get<double>(), 0.0);

    const auto offKey = analyze({recordOneString(kA4 * 1.03).string(), "--json"});
    ASSERT_EQ(offKey.status, 0);
    for (const auto& line : offKey.lines) EXPECT_TRUE(nlohmann::json::parse(line)["note"].is_null()) << line;
}

TEST(AnalyzeCommand, NamesEachOpenStringOfARecording) {
    const double pitches[] = {kE5, kA4, kE4, kC5, kG4};
    std::vector<int16_t> samples;
    for (const double pitch : pitches) {
        const auto pluck = pluckedString({.frequency = pitch}, 4 * 4096);  // four whole buffers each
        samples.insert(samples.end(), pluck.begin(), pluck.end());
    }
    const auto path = testing_support::temporaryFolder() / "five-strings.wav";
    platform_testing::writeWave(path, samples, 14039);

    const auto run = analyze({path.string(), "--json"});
    ASSERT_EQ(run.status, 0);
    std::vector<std::string> notes;
    for (const auto& line : run.lines) notes.push_back(nlohmann::json::parse(line)["note"].get<std::string>());
    EXPECT_EQ(notes, (std::vector<std::string>{"E5", "E5", "E5", "E5", "A4", "A4", "A4", "A4", "E4", "E4", "E4",
                                               "E4", "C5", "C5", "C5", "C5", "G4", "G4", "G4", "G4"}));
}

TEST(AnalyzeCommand, AnalysesWhatATruncatedRecordingHolds) {
    const auto path = recordOneString(kE4);
    fs::resize_file(path, platform_testing::kWaveHeaderBytes + 2 * 5000 + 1);
    const auto run = analyze({path.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines.size(), 2u);  // 4096 samples and 904
}

struct BadFile {
    const char* name;
    void (*make)(const fs::path&);
    const char* reason;
};

TEST(AnalyzeCommand, NamesTheFileAndTheReasonWhenItHoldsNoSound) {
    const BadFile cases[] = {
        {"missing", [](const fs::path&) {}, "no such file"},
        {"empty", [](const fs::path& path) { std::ofstream{path}; }, "is empty"},
        {"text", [](const fs::path& path) { std::ofstream{path} << "a tuning, not a recording\n"; },
         "is not a sound file ("},
        {"header only",
         [](const fs::path& path) {
             platform_testing::writeWave(path, pluckedString({}, 100), 14039);
             fs::resize_file(path, platform_testing::kWaveHeaderBytes);
         },
         "holds no sound"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = testing_support::temporaryFolder() / c.name;
        c.make(path);
        const auto run = analyze({path.string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.lines.empty());
        const std::string said = "pallqa-tuner analyze: " + path.string() + ": " + c.reason;
        EXPECT_EQ(run.errors.rfind(said, 0), 0u) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1);
    }
}

TEST(AnalyzeCommand, NamesWhatIsWrongWithItsArguments) {
    const struct {
        std::vector<std::string> arguments;
        const char* said;
    } cases[] = {
        {{}, "FILE is required"},
        {{"--json"}, "FILE is required"},
        {{"a.wav", "b.wav"}, "unexpected argument \"b.wav\""},
        {{"a.wav", "--fast"}, "unknown option \"--fast\""},
    };
    for (const auto& c : cases) {
        const auto run = analyze(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.errors, std::string("pallqa-tuner: ") + c.said + "\nRun 'pallqa-tuner analyze --help' for usage.\n");
    }
}

}  // namespace
