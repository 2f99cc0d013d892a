// `pallqa-tuner analyze FILE --guide`: the guide's own reading after every hop
// of 512 samples — time, hertz, the nearest course and the offset from it,
// the nearest chromatic note — as text or JSON, with nulls where a hop has no
// fundamental; a string far from every course is still guided; both strings
// of a course: their spread, the octave string's offset, a chosen course.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/AnalyzeRun.h"
#include "tests/guide/GuideSignals.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/WaveFiles.h"

namespace {

namespace fs = std::filesystem;
using analyze_testing::analyze;
using pitch_testing::detuned;
using pitch_testing::kSamplesPerSecond;

constexpr size_t kLeadIn = 3000;  // five whole hops of silence and a part of the sixth

// Silence, then a second of one plucked string at the capture rate.
fs::path recordAfterSilence(double pitch) {
    std::vector<int16_t> samples(kLeadIn, 0);
    const auto pluck = pitch_testing::pluckedString({.frequency = pitch}, kSamplesPerSecond);
    samples.insert(samples.end(), pluck.begin(), pluck.end());
    const auto path = testing_support::temporaryFolder() / "string-after-silence.wav";
    platform_testing::writeWave(path, samples, kSamplesPerSecond);
    return path;
}

constexpr size_t kHops = (kLeadIn + kSamplesPerSecond + guide::kHopSamples - 1) / guide::kHopSamples;

TEST(AnalyzeGuide, WritesOneJsonObjectPerHopWithNullsWhereThereIsNoFundamental) {
    const auto run = analyze({recordAfterSilence(detuned(pitch_testing::kA4, -20.0)).string(), "--guide", "--json"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    ASSERT_EQ(run.lines.size(), kHops);
    EXPECT_EQ(run.lines[0],
              R"({"t": 0.03647, "hz": null, "course": null, "target": null, "cents": null, "note": null, )"
              R"("spread": null, "octave": null})");
    size_t read = 0;
    for (size_t i = 0; i < run.lines.size(); ++i) {
        SCOPED_TRACE(run.lines[i]);
        const auto line = nlohmann::json::parse(run.lines[i]);
        // The time of the last sample heard, to the microsecond.
        const double heard = static_cast<double>(std::min((i + 1) * guide::kHopSamples, kLeadIn + kSamplesPerSecond));
        EXPECT_DOUBLE_EQ(line["t"].get<double>(), std::round(heard / pitch_testing::kCaptureRate * 1e6) / 1e6);
        if (line["hz"].is_null()) continue;
        ++read;
        EXPECT_NEAR(pitch_testing::centsBetween(line["hz"].get<double>(), pitch_testing::kA4), -20.0, 0.5);
        EXPECT_EQ(line["course"], 2);
        EXPECT_EQ(line["target"], "A4");
        EXPECT_NEAR(line["cents"].get<double>(), -20.0, 0.5);
        EXPECT_EQ(line["note"].get<std::string>().substr(0, 4), "A4 -");
        EXPECT_TRUE(line["octave"].is_null());
    }
    // Every hop from the first that holds a shortest window of the pluck.
    EXPECT_EQ(read, kHops - (kLeadIn + guide::kShortestWindow) / guide::kHopSamples);
}

TEST(AnalyzeGuide, GuidesAStringFarFromEveryCourseByTheNearestNoteAndCourse) {
    // F4 29 cents sharp: 129 cents above E4, the nearest course.
    const double pitch = 349.228 * std::pow(2.0, 29.0 / 1200.0);
    const auto text = analyze({recordAfterSilence(pitch).string(), "--guide"});
    ASSERT_EQ(text.status, 0);
    ASSERT_EQ(text.lines.size(), kHops);
    EXPECT_EQ(text.lines[0], "    0.036 s             -");
    const std::string& last = text.lines.back();
    EXPECT_EQ(last.substr(0, 14), "    1.214 s   ") << last;
    EXPECT_NE(last.find(" Hz  course 3 E4  +129.0 cents  F4 +29.0"), std::string::npos) << last;
}

// Three seconds of two strings plucked together.
fs::path recordStrings(double first, double second, const char* name) {
    const guide_testing::CourseString strings[] = {{first}, {second, 0.05, 0.0, 0.8}};
    const auto samples = guide_testing::stringsTogether(strings, 3 * kSamplesPerSecond);
    const auto path = testing_support::temporaryFolder() / name;
    platform_testing::writeWave(path, samples, kSamplesPerSecond);
    return path;
}

TEST(AnalyzeGuide, TellsTheSpreadOfAPairAndThePairsCentre) {
    const auto path = recordStrings(detuned(pitch_testing::kA4, -1.0), detuned(pitch_testing::kA4, 3.0), "pair.wav");
    const auto run = analyze({path.string(), "--guide", "--json"});
    ASSERT_EQ(run.status, 0);
    size_t told = 0;
    for (const std::string& text : run.lines) {
        SCOPED_TRACE(text);
        const auto line = nlohmann::json::parse(text);
        EXPECT_TRUE(line["octave"].is_null());
        if (line["hz"].is_null()) continue;
        // Between the strings, however they beat.
        EXPECT_GE(line["cents"].get<double>(), -1.0);
        EXPECT_LE(line["cents"].get<double>(), 3.0);
        if (line["spread"].is_null()) continue;
        ++told;
        EXPECT_NEAR(line["spread"].get<double>(), 4.0, 0.5);
    }
    EXPECT_GT(told, run.lines.size() / 2);
    const auto text = analyze({path.string(), "--guide"});
    EXPECT_NE(text.lines.back().find("  strings 4.0 cents apart"), std::string::npos) << text.lines.back();
}

TEST(AnalyzeGuide, TellsTheOctaveStringsOwnOffsetOnTheOctaveCourse) {
    const auto path = recordStrings(pitch_testing::kE4, detuned(2.0 * pitch_testing::kE4, 20.0), "octave.wav");
    const auto run = analyze({path.string(), "--guide", "--json"});
    ASSERT_EQ(run.status, 0);
    const auto last = nlohmann::json::parse(run.lines.back());
    EXPECT_EQ(last["course"], 3);
    EXPECT_NEAR(last["cents"].get<double>(), 0.0, 0.5);
    EXPECT_NEAR(last["octave"].get<double>(), 20.0, 1.0);
    EXPECT_NEAR(last["spread"].get<double>(), 20.0, 1.0);
    const auto text = analyze({path.string(), "--guide"});
    EXPECT_NE(text.lines.back().find("  octave string +20.0 cents"), std::string::npos) << text.lines.back();
}

TEST(AnalyzeGuide, ReadsEveryStringAsTheChosenCourseHoweverFar) {
    // A4 110 cents flat, nearer G4: chosen as the second course, it is 110 cents below A4.
    const auto path = recordAfterSilence(detuned(pitch_testing::kA4, -110.0));
    const auto nearest = nlohmann::json::parse(analyze({path.string(), "--guide", "--json"}).lines.back());
    EXPECT_EQ(nearest["course"], 5);
    const auto chosen = analyze({path.string(), "--guide", "--json", "--course", "2"});
    ASSERT_EQ(chosen.status, 0);
    for (const std::string& text : chosen.lines) {
        const auto line = nlohmann::json::parse(text);
        if (line["hz"].is_null()) continue;
        EXPECT_EQ(line["course"], 2) << text;
        EXPECT_EQ(line["target"], "A4") << text;
        EXPECT_NEAR(line["cents"].get<double>(), -110.0, 0.5) << text;
    }
}

}  // namespace
