// `pallqa-tuner analyze`: one line per capture buffer of a recording, as text
// or JSON, and one line on stderr with exit status 1 for a file it cannot read.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/app/AnalyzeRun.h"
#include "tests/pitch/PluckedString.h"
#include "tests/support/InLanguage.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/WaveFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace pitch_testing;

constexpr auto kCaptureRateHz = static_cast<uint32_t>(kCaptureRate);

// The text line ends with the guide's column: `course`, then the offset in
// cents with one decimal, within half a cent of `cents`.
void expectGuideColumn(const std::string& line, const std::string& course, double cents) {
    const auto at = line.rfind(course);
    ASSERT_NE(at, std::string::npos) << line;
    const std::string offset = line.substr(at + course.size());
    ASSERT_TRUE(offset.ends_with(" cents")) << line;
    const std::string number = offset.substr(0, offset.size() - 6);
    ASSERT_EQ(number.size() - number.find('.'), 2u) << "one decimal: " << line;
    EXPECT_NEAR(std::stod(number), cents, 0.5) << line;
}

using analyze_testing::analyze;

// A second of one plucked string at the capture rate: three whole buffers and
// a last one of 1751 samples.
fs::path recordOneString(double pitch) {
    const auto path = testing_support::temporaryFolder() / "string.wav";
    platform_testing::writeWave(path, pluckedString({.frequency = pitch}, kCaptureRateHz), kCaptureRateHz);
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
    platform_testing::writeWave(path, samples, kCaptureRateHz);

    const auto run = analyze({path.string(), "--json"});
    ASSERT_EQ(run.status, 0);
    std::vector<std::string> notes;
    for (const auto& line : run.lines) notes.push_back(nlohmann::json::parse(line)["note"].get<std::string>());
    EXPECT_EQ(notes, (std::vector<std::string>{"E5", "E5", "E5", "E5", "A4", "A4", "A4", "A4", "E4", "E4", "E4",
                                               "E4", "C5", "C5", "C5", "C5", "G4", "G4", "G4", "G4"}));
}

TEST(AnalyzeCommand, WritesTheSameWhateverTheNumberOfJobs) {
    std::vector<int16_t> samples;
    for (const double pitch : {kE5, kA4, kE4, kC5, kG4}) {
        const auto pluck = pluckedString({.frequency = pitch, .noiseSeed = 9}, 3 * 4096 + 1000);
        samples.insert(samples.end(), pluck.begin(), pluck.end());
    }
    const auto path = testing_support::temporaryFolder() / "five-strings-unaligned.wav";
    platform_testing::writeWave(path, samples, kCaptureRateHz);
    const auto alone = analyze({path.string(), "--json", "--jobs", "1"});
    ASSERT_EQ(alone.status, 0);
    ASSERT_EQ(alone.lines.size(), (samples.size() + 4095) / 4096);
    for (const char* jobs : {"2", "3", "16"}) {
        SCOPED_TRACE(jobs);
        const auto together = analyze({path.string(), "--json", "--jobs", jobs});
        EXPECT_EQ(together.status, 0);
        EXPECT_EQ(together.lines, alone.lines);
    }
    EXPECT_EQ(analyze({path.string(), "--json"}).lines, alone.lines);
}

TEST(AnalyzeCommand, AnalysesWhatATruncatedRecordingHolds) {
    const auto path = recordOneString(kE4);
    fs::resize_file(path, platform_testing::kWaveHeaderBytes + 2 * 5000 + 1);
    const auto run = analyze({path.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines.size(), 2u);  // 4096 samples and 904
    EXPECT_EQ(run.errors, "pallqa-tuner analyze: " + path.string() + ": the recording ends early: 5000 of 14039 frames read\n");
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
             platform_testing::writeWave(path, pluckedString({}, 100), kCaptureRateHz);
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
        {{"a.wav", "--jobs", "0"}, "--jobs: Value 0 not in range 1 to 1024"},
        {{"a.wav", "--guide", "--course", "6"}, "--course: Value 6 not in range 1 to 5"},
    };
    for (const auto& c : cases) {
        const auto run = analyze(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.errors, std::string("pallqa-tuner: ") + c.said + "\nRun 'pallqa-tuner analyze --help' for usage.\n");
    }
}

// Its lines are data, with a decimal point in every language; what it says
// about a file it cannot read is the user's language.
TEST(AnalyzeCommand, InSpanishKeepsItsLinesAndSaysWhatIsWrongInSpanish) {
    const auto path = recordOneString(kA4).string();
    const auto missing = (testing_support::temporaryFolder() / "missing.wav").string();
    const auto text = analyze({path});
    const auto json = analyze({path, "--json"});
    const testing_support::InLanguage spanish("es");
    EXPECT_EQ(analyze({path}).lines, text.lines);
    EXPECT_EQ(analyze({path, "--json"}).lines, json.lines);
    EXPECT_EQ(analyze({missing}).errors, "pallqa-tuner analyze: " + missing + ": no existe el archivo\n");
    EXPECT_EQ(analyze({path, "--jobs", "0"}).errors,
              "pallqa-tuner: --jobs: el valor 0 no está entre 1 y 1024\n"
              "Ejecuta 'pallqa-tuner analyze --help' para ver el modo de empleo.\n");
}

TEST(AnalyzeCommand, GuidesEachBufferToTheNearestCourseInCents) {
    std::vector<int16_t> samples;
    for (const double pitch : {detuned(kA4, -20.0), detuned(kE4, 12.0)}) {
        const auto pluck = pluckedString({.frequency = pitch}, 2 * 4096);  // two whole buffers each
        samples.insert(samples.end(), pluck.begin(), pluck.end());
    }
    samples.insert(samples.end(), 4096, 0);  // and a silent one
    const auto path = testing_support::temporaryFolder() / "two-strings-off.wav";
    platform_testing::writeWave(path, samples, kCaptureRateHz);

    const auto json = analyze({"--json", path.string()});
    ASSERT_EQ(json.status, 0);
    ASSERT_EQ(json.lines.size(), 5u);
    const struct {
        int course;
        const char* target;
        double cents;
    } expected[] = {{2, "A4", -20.0}, {2, "A4", -20.0}, {3, "E4", 12.0}, {3, "E4", 12.0}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(json.lines[i]);
        const auto line = nlohmann::json::parse(json.lines[i]);
        EXPECT_EQ(line["course"], expected[i].course);
        EXPECT_EQ(line["target"], expected[i].target);
        EXPECT_NEAR(line["cents"].get<double>(), expected[i].cents, 0.5);
        // A tenth of a cent: the text has at most one decimal.
        EXPECT_DOUBLE_EQ(line["cents"].get<double>() * 10.0, std::round(line["cents"].get<double>() * 10.0));
        EXPECT_TRUE(line["note"].is_null());
    }
    const auto silent = nlohmann::json::parse(json.lines[4]);
    EXPECT_TRUE(silent["course"].is_null());
    EXPECT_TRUE(silent["target"].is_null());
    EXPECT_TRUE(silent["cents"].is_null());
    // The fields the command always had come first, as they were.
    EXPECT_EQ(json.lines[4].rfind(R"({"t": 1.167035, "bin": 0, "hz": 0.0, "note": null, "level": 0.0, "course")", 0),
              0u)
        << json.lines[4];

    const auto text = analyze({path.string()});
    ASSERT_EQ(text.lines.size(), 5u);
    expectGuideColumn(text.lines[0], "  course 2 A4  ", -20.0);
    expectGuideColumn(text.lines[2], "  course 3 E4  ", +12.0);
    EXPECT_EQ(text.lines[4].substr(text.lines[4].size() - 10), "  course -");
}

}  // namespace
