// A recording that stops coming: a FIFO the test keeps open after the first
// second of the demo recording. The run still ends when --seconds says, in
// real time and at machine speed, and SIGINT still ends `analyze` at once.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/app/LiveProcess.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using live_testing::LiveProcess;
using namespace std::chrono_literals;

// Far longer than any of these runs takes; a run still going then waits on its input.
constexpr auto kHung = 60s;
// The demo recording's header and its first second at 14039 Hz.
constexpr size_t kFirstSecondBytes = 44 + 2 * 14039;

// A FIFO that has been given the first second of the demo recording and then
// nothing more, held open for as long as the object lives.
class StalledFifo {
public:
    explicit StalledFifo(const fs::path& path) : path_(path) { ::mkfifo(path.c_str(), 0600); }
    ~StalledFifo() {
        if (fd_ >= 0) ::close(fd_);
    }
    StalledFifo(const StalledFifo&) = delete;
    StalledFifo& operator=(const StalledFifo&) = delete;

    // Waits until the program has opened the FIFO, then feeds it.
    bool feedFirstSecond() {
        fd_ = ::open(path_.c_str(), O_WRONLY);
        const std::string demo = live_testing::readText(testing_support::resourcesFolder() / "demo-tuning.wav");
        return fd_ >= 0 && ::write(fd_, demo.data(), kFirstSecondBytes) == static_cast<ssize_t>(kFirstSecondBytes);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    int fd_ = -1;
};

class StalledInput : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(testing_support::temporaryFolder()); }

    std::unique_ptr<LiveProcess> start(const std::string& arguments) {
        const fs::path folder = testing_support::temporaryFolder();
        return std::make_unique<LiveProcess>("XDG_CONFIG_HOME='" + (folder / "config").string() +
                                                 "' XDG_STATE_HOME='" + (folder / "state").string() + "' exec '" +
                                                 PALLQA_PROGRAM "' " + arguments,
                                             folder / "stdout.txt", folder / "stderr.txt");
    }
    std::string output() const { return live_testing::readText(testing_support::temporaryFolder() / "stdout.txt"); }
};

TEST_F(StalledInput, TheRunEndsWhenItsSecondsAreUpInRealTimeAndAtMachineSpeed) {
    for (const std::string clock : {"", "--fast "}) {
        SCOPED_TRACE(clock.empty() ? "real time" : "machine speed");
        StalledFifo fifo(testing_support::temporaryFolder() / ("stalled" + std::to_string(clock.size())));
        auto run = start("--headless " + clock + "--seconds 2 --input '" + fifo.path().string() + "'");
        ASSERT_TRUE(fifo.feedFirstSecond());
        const auto status = run->waitFor(kHung);
        ASSERT_TRUE(status) << "the run waited on its stalled input";
        EXPECT_EQ(*status, 0);
        // The screen was shown.
        EXPECT_NE(output().find("LEDDisplay="), std::string::npos) << output();
    }
}

TEST_F(StalledInput, SIGINTEndsAnalyzeAtOnce) {
    StalledFifo fifo(testing_support::temporaryFolder() / "stalled");
    auto run = start("analyze '" + fifo.path().string() + "'");
    ASSERT_TRUE(fifo.feedFirstSecond());
    run->signal(SIGINT);
    const auto status = run->waitFor(kHung);
    ASSERT_TRUE(status) << "analyze went on waiting on its stalled input after SIGINT";
    EXPECT_EQ(*status, 128 + SIGINT);
}

}  // namespace
