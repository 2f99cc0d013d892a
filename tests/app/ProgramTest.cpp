// Runs the built program on the console, as a musician without a display would,
// and reads what it prints.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "tests/support/PlainPlatform.h"

namespace {

struct ProgramRun {
    int status = -1;
    std::string output;
};

// Runs the program with `arguments` (already quoted for the shell), its
// settings and log in a folder of this test's own; stderr is kept apart from stdout.
// With `piped`, that file comes to the program's stdin through a pipe.
ProgramRun runProgram(const std::string& arguments, const std::string& piped = "") {
    const auto folder = testing_support::temporaryFolder();
    const std::string command = (piped.empty() ? "" : "cat " + piped + " | ") + "XDG_CONFIG_HOME='" +
                                (folder / "config").string() + "' XDG_STATE_HOME='" + (folder / "state").string() +
                                "' '" PALLQA_PROGRAM "' " + arguments + " 2>'" + (folder / "stderr.txt").string() + "'";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

std::string resource(const char* name) { return "'" + (testing_support::resourcesFolder() / name).string() + "'"; }

class ProgramTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(testing_support::temporaryFolder()); }
};

TEST_F(ProgramTest, ARecordedA4OnTheConsoleShowsA4AndEndsCleanly) {
    const ProgramRun run = runProgram("--headless --fast --input " + resource("3_4_A4.mp3"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("noteDisplay=\"A4\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("freq_label=\"440Hz\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("play=beep-full.wav"), std::string::npos) << run.output;
    // The tuning guide's lines beside the match's.
    EXPECT_NE(run.output.find("guideCourse=\"Course 2 · A4\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("guideDirection=\"● in tune\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("guideNeedle.value="), std::string::npos) << run.output;
}

TEST_F(ProgramTest, TheDemoRecordingTunesAllFiveCourses) {
    const ProgramRun run = runProgram("--headless --fast --input " + resource("demo-tuning.wav"));
    EXPECT_EQ(run.status, 0);
    for (const char* note : {"E5", "A4", "E4", "C5", "G4"}) {
        EXPECT_NE(run.output.find(std::string("noteDisplay=\"") + note + "\""), std::string::npos) << note;
    }
}

TEST_F(ProgramTest, ReadsARecordingThroughAPipeAsFromItsFile) {
    const std::string demo = resource("demo-tuning.wav");
    for (const std::string arguments : {"analyze --json ", "--headless --fast --input "}) {
        SCOPED_TRACE(arguments);
        const ProgramRun fromFile = runProgram(arguments + demo);
        ASSERT_EQ(fromFile.status, 0);
        ASSERT_FALSE(fromFile.output.empty());
        const ProgramRun piped = runProgram(arguments + "/dev/stdin", demo);
        EXPECT_EQ(piped.status, 0);
        EXPECT_EQ(piped.output, fromFile.output);
    }
}

TEST_F(ProgramTest, ARecordingThatIsNotSoundEndsTheRunWithAnError) {
    const ProgramRun run = runProgram("--headless --fast --input " + resource("Info.json"));
    EXPECT_EQ(run.status, 1);
}

TEST_F(ProgramTest, HelpAndBadOptions) {
    const ProgramRun help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--screen"), std::string::npos);
    EXPECT_NE(help.output.find("analyze "), std::string::npos);
    for (const char* command : {"analyze", "tone", "chord"}) {
        const auto usage = runProgram(std::string(command) + " --help");
        EXPECT_EQ(usage.status, 0) << command;
        EXPECT_NE(usage.output.find(std::string("Usage: pallqa-tuner ") + command), std::string::npos) << usage.output;
    }
    EXPECT_EQ(runProgram("--no-such-option").status, 2);
    EXPECT_EQ(runProgram("tone B7").status, 2);
}

}  // namespace
