// The tuner's match table, the source of the analyze command's note column.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "pitch/CaptureFormat.h"
#include "pitch/PitchEstimator.h"
#include "tuner/MatchTable.h"

namespace {

TEST(TunerMatchTable, BothBoundsBelongToTheWindow) {
    struct Case {
        double frequency;
        const char* note;  // null: no window
    };
    const Case cases[] = {
        {657.354, "E5"}, {661.162, "E5"}, {657.353, nullptr}, {661.163, nullptr}, {440.0, "A4"},
        {438.731, "A4"}, {441.273, "A4"}, {330.581, "E4"},    {521.742, "C5"},    {393.129, "G4"},
        {0.0, nullptr},  {700.0, nullptr},
    };
    for (const auto& c : cases) {
        const auto* window = tuner::matchFrequency(c.frequency);
        if (c.note == nullptr) {
            EXPECT_EQ(window, nullptr) << c.frequency;
        } else {
            ASSERT_NE(window, nullptr) << c.frequency;
            EXPECT_EQ(window->note, c.note) << c.frequency;
        }
    }
}

TEST(TunerMatchTable, HoldsTheDetectorBinsOfEachOpenPitch) {
    const auto detector = std::make_unique<pitch::PitchEstimator>(pitch::kCaptureSampleRate);
    std::map<std::string, std::pair<int, int>> binsOfNote;
    for (int bin = 0; bin < static_cast<int>(pitch::PitchEstimator::kSpectrumBins); ++bin) {
        if (const auto* window = tuner::matchFrequency(detector->frequencyOfBin(bin))) {
            auto [it, added] = binsOfNote.try_emplace(std::string(window->note), bin, bin);
            EXPECT_TRUE(added || it->second.second == bin - 1) << "the bins of " << window->note << " have a gap";
            it->second.second = bin;
        }
    }
    const std::map<std::string, std::pair<int, int>> expected = {
        {"E5", {1535, 1543}}, {"A4", {1025, 1029}}, {"E4", {768, 771}}, {"C5", {1218, 1224}}, {"G4", {913, 917}}};
    EXPECT_EQ(binsOfNote, expected);
}

TEST(TunerMatchTable, NumbersStringsByScreenPositionAndPitchesInTableOrder) {
    struct Row {
        const char* note;
        int stringIndex;
        const char* frequencyText;
        int pitchNumber;
    };
    const Row rows[] = {{"E5", 1, "659.3Hz", 1}, {"A4", 2, "440Hz", 2}, {"E4", 3, "329.6Hz", 3},
                        {"C5", 5, "523.2Hz", 4}, {"G4", 6, "392Hz", 5}};
    ASSERT_EQ(tuner::kMatchTable.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& window = tuner::kMatchTable[i];
        EXPECT_EQ(window.note, rows[i].note);
        EXPECT_EQ(window.stringIndex, rows[i].stringIndex);
        EXPECT_EQ(window.frequencyText, rows[i].frequencyText);
        EXPECT_EQ(window.pitchNumber, rows[i].pitchNumber);
    }
}

}  // namespace
