// Runs of the program started together share one settings file: each counts
// its run of the screen and the rating prompt's use, and however the runs
// interleave no count is lost.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/app/LiveProcess.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using live_testing::LiveProcess;

constexpr const char* kRunsKey = "numberOfRuns";
constexpr const char* kUsesKey = "kRatingPromptUseCount";

class ConcurrentRuns : public ::testing::Test {
protected:
    void SetUp() override { folder = testing_support::temporaryFolder(); }
    void TearDown() override { fs::remove_all(folder); }

    // Starts a short console run of the demo recording; `name` keeps its output apart.
    std::unique_ptr<LiveProcess> start(const std::string& name) const {
        return std::make_unique<LiveProcess>(
            "XDG_CONFIG_HOME='" + (folder / "config").string() + "' XDG_STATE_HOME='" + (folder / "state").string() +
                "' exec '" PALLQA_PROGRAM "' --headless --fast --seconds 1 --input '" +
                (testing_support::resourcesFolder() / "demo-tuning.wav").string() + "'",
            folder / (name + ".out"), folder / (name + ".err"));
    }
    std::string errors(const std::string& name) const { return live_testing::readText(folder / (name + ".err")); }

    nlohmann::json settings() const {
        return nlohmann::json::parse(
            live_testing::readText(folder / "config" / "pallqa-tuner" / "com.tarvelolabs.pallqatuner.json"), nullptr,
            false);
    }

    fs::path folder;
};

TEST_F(ConcurrentRuns, RunsStartedTogetherLoseNoCount) {
    // The first run resets the settings, as a first run does, and whether the
    // rating prompt's use of that run is counted before or after the reset is
    // not fixed; the second run starts both counts for certain.
    ASSERT_EQ(start("first")->wait(), 0) << errors("first");
    ASSERT_EQ(start("second")->wait(), 0) << errors("second");
    for (const int together : {3, 5}) {
        SCOPED_TRACE(std::to_string(together) + " runs at once");
        const nlohmann::json before = settings();
        ASSERT_TRUE(before.contains(kRunsKey) && before.contains(kUsesKey)) << before.dump();
        std::vector<std::unique_ptr<LiveProcess>> runs;
        for (int i = 0; i < together; ++i) runs.push_back(start("run" + std::to_string(i)));
        for (int i = 0; i < together; ++i) {
            const std::string name = "run" + std::to_string(i);
            EXPECT_EQ(runs[static_cast<size_t>(i)]->wait(), 0) << errors(name);
        }
        const nlohmann::json after = settings();
        EXPECT_EQ(after[kRunsKey].get<int64_t>(), before[kRunsKey].get<int64_t>() + together) << after.dump();
        EXPECT_EQ(after[kUsesKey].get<int64_t>(), before[kUsesKey].get<int64_t>() + together) << after.dump();
    }
}

}  // namespace
