// The settings store shared by several processes: nested and overlapping runs
// keep each other's changes, and a save killed at any instant leaves the file
// whole and no temporary file behind once the next run has started.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"
#include "tests/support/HelperProcess.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using platform::UserDefaults;

// Starts the store's helper program on `file` with `steps`.
pid_t startHelper(const fs::path& file, const std::vector<std::string>& steps) {
    std::vector<std::string> arguments{PALLQA_STORE_HELPER, file.string()};
    arguments.insert(arguments.end(), steps.begin(), steps.end());
    return testing_support::startHelper(arguments);
}

using testing_support::finishHelper;

class StoreProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::temporaryFolder() / "processes";
        fs::remove_all(folder);
        fs::create_directories(folder);
        file = folder / "com.example.tests.json";
    }
    void TearDown() override { fs::remove_all(testing_support::temporaryFolder()); }
    std::vector<std::string> temporaryFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.find(".tmp") != std::string::npos) names.push_back(name);
        }
        return names;
    }
    fs::path folder;
    fs::path file;
    platform::LogCapture log;
};

TEST_F(StoreProcesses, ARunNestedInsideAnotherKeepsItsCountWhenTheOuterOneSavesLater) {
    // The window starts and counts its run; a console run starts, counts and
    // ends; then the window saves a moved slider.
    const fs::path outerCounted = folder / "outer-counted", innerDone = folder / "inner-done";
    const pid_t outer = startHelper(file, {"open", "inc", "numberOfRuns", "sync", "touch", outerCounted.string(),
                                           "wait", innerDone.string(), "set", "savedSliderValue", "7", "sync"});
    const pid_t inner = startHelper(file, {"wait", outerCounted.string(), "open", "inc", "numberOfRuns", "sync",
                                           "touch", innerDone.string()});
    ASSERT_EQ(finishHelper(inner), 0);
    ASSERT_EQ(finishHelper(outer), 0);
    auto store = UserDefaults::atFile(file, "com.example.tests");
    EXPECT_EQ(store->integerForKey("numberOfRuns"), 2);
    EXPECT_EQ(store->integerForKey("savedSliderValue"), 7);
}

TEST_F(StoreProcesses, OverlappingRunsKeepEveryKeyEachOneChanged) {
    // Each run opens the store, waits until all have opened it, then saves a key of its own.
    constexpr int kRuns = 10;
    const fs::path go = folder / "go";
    std::vector<pid_t> runs;
    for (int i = 0; i < kRuns; ++i) {
        const std::string opened = (folder / ("opened-" + std::to_string(i))).string();
        runs.push_back(startHelper(file, {"open", "touch", opened, "wait", go.string(), "set",
                                          "run" + std::to_string(i), std::to_string(i + 100), "sync"}));
    }
    for (int i = 0; i < kRuns; ++i) {
        while (!fs::exists(folder / ("opened-" + std::to_string(i)))) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::ofstream(go) << "";
    for (const pid_t pid : runs) ASSERT_EQ(finishHelper(pid), 0);
    auto store = UserDefaults::atFile(file, "com.example.tests");
    for (int i = 0; i < kRuns; ++i) EXPECT_EQ(store->integerForKey("run" + std::to_string(i)), i + 100) << i;
}

TEST_F(StoreProcesses, RunsCountingAtOnceLoseNoCount) {
    // Every run opens the store before any counts, as runs started together
    // do; each then counts its run and saves, and one also moves the slider.
    for (const int runs : {3, 5}) {
        SCOPED_TRACE(std::to_string(runs) + " runs at once");
        fs::remove(file);
        {
            auto store = UserDefaults::atFile(file, "com.example.tests");
            store->setInteger(10, "numberOfRuns");
            ASSERT_TRUE(store->synchronize());
        }
        const fs::path go = folder / ("go-" + std::to_string(runs));
        std::vector<pid_t> pids;
        for (int i = 0; i < runs; ++i) {
            const std::string opened = (folder / ("opened-" + std::to_string(runs) + "-" + std::to_string(i))).string();
            std::vector<std::string> steps{"open", "touch", opened, "wait", go.string(), "count", "numberOfRuns"};
            if (i == 0) steps.insert(steps.end(), {"set", "savedSliderValue", "7"});
            steps.push_back("sync");
            pids.push_back(startHelper(file, steps));
        }
        for (int i = 0; i < runs; ++i) {
            const fs::path opened = folder / ("opened-" + std::to_string(runs) + "-" + std::to_string(i));
            while (!fs::exists(opened)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::ofstream(go) << "";
        for (const pid_t pid : pids) ASSERT_EQ(finishHelper(pid), 0);
        auto store = UserDefaults::atFile(file, "com.example.tests");
        EXPECT_EQ(store->integerForKey("numberOfRuns"), 10 + runs);
        EXPECT_EQ(store->integerForKey("savedSliderValue"), 7);
    }
}

TEST_F(StoreProcesses, KilledAtRandomInstantsWhileSavingTheFileIsAbsentOrWholeAndNoTemporaryFileStays) {
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> microseconds(0, 30000);
    for (int kill = 0; kill < 100; ++kill) {
        const pid_t child = startHelper(file, {"open", "hammer"});
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(finishHelper(child), 128 + SIGKILL);

        if (fs::exists(file)) {
            std::ifstream in(file);
            const std::string text(std::istreambuf_iterator<char>(in), {});
            ASSERT_FALSE(text.empty()) << "after kill " << kill;
            const auto parsed = nlohmann::json::parse(text, nullptr, false);
            ASSERT_TRUE(parsed.is_object()) << "after kill " << kill << ": " << text.substr(0, 80);
        }
        EXPECT_LE(temporaryFiles().size(), 1u) << "after kill " << kill;
        // The next run starts by clearing what the killed one left.
        UserDefaults::atFile(file, "com.example.tests");
        ASSERT_EQ(temporaryFiles(), std::vector<std::string>{}) << "after kill " << kill;
    }
    EXPECT_EQ(log.lines(), std::vector<std::string>{});
}

}  // namespace
