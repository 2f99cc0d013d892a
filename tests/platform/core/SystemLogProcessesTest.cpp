// The log's file shared by runs started together: however many find it full at
// once, it is rotated once, and no line older than the rotated file is lost.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/SystemLog.h"
#include "tests/support/HelperProcess.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The messages of a log file, whatever process wrote them.
Lines messagesIn(const fs::path& file) {
    Lines messages;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find("] ");
        messages.push_back(at == std::string::npos ? "unprefixed: " + line : line.substr(at + 2));
    }
    return messages;
}

TEST(SystemLogProcesses, RunsThatFindTheFileFullAtOnceRotateItOnce) {
    const fs::path folder = testing_support::temporaryFolder();
    const fs::path file = folder / "pallqa-tuner.log";
    const fs::path rotated = folder / "pallqa-tuner.log.1";
    constexpr int kRuns = 4;
    constexpr int kOldLines = 50;
    // Several rounds: how the runs interleave is up to the machine.
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        for (const auto& old : {file, rotated}) fs::remove(old);
        {
            platform::SystemLog history({file, nullptr});
            for (int i = 0; i < kOldLines; ++i) history.write("older line " + std::to_string(i));
        }
        // Full enough that any new line would go past the bound.
        const uint64_t bound = fs::file_size(file) + 10;
        const fs::path go = folder / ("go-" + std::to_string(round));
        std::vector<pid_t> runs;
        for (int run = 0; run < kRuns; ++run) {
            const fs::path ready = folder / ("ready-" + std::to_string(round) + "-" + std::to_string(run));
            runs.push_back(testing_support::startHelper({PALLQA_LOG_HELPER, file.string(), std::to_string(bound), ready.string(), go.string(),
                                        "run " + std::to_string(run) + " started"}));
        }
        for (int run = 0; run < kRuns; ++run) {
            const fs::path ready = folder / ("ready-" + std::to_string(round) + "-" + std::to_string(run));
            while (!fs::exists(ready)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::ofstream(go) << "";
        for (const pid_t pid : runs) ASSERT_EQ(testing_support::finishHelper(pid), 0);

        const Lines older = messagesIn(rotated);
        ASSERT_EQ(older.size(), static_cast<size_t>(kOldLines)) << "the older lines are in the rotated file, whole";
        for (int i = 0; i < kOldLines; ++i) EXPECT_EQ(older[static_cast<size_t>(i)], "older line " + std::to_string(i));
        Lines newer = messagesIn(file);
        std::sort(newer.begin(), newer.end());
        EXPECT_EQ(newer, (Lines{"run 0 started", "run 1 started", "run 2 started", "run 3 started"}));
    }
    fs::remove_all(folder);
}

}  // namespace
