// Runs the built program on the console, as a musician without a display would,
// and reads what it prints.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/PlainPlatform.h"

namespace {

struct ProgramRun {
    int status = -1;
    std::string output;
    std::string errors;
};

// Runs the program with `arguments` (already quoted for the shell), its
// settings and log in a folder of this test's own; stderr is kept apart from stdout.
// With `piped`, that file comes to the program's stdin through a pipe; `prefix`
// goes before the whole command (a limit, a time-out).
ProgramRun runProgram(const std::string& arguments, const std::string& piped = "", const std::string& prefix = "") {
    const auto folder = testing_support::temporaryFolder();
    const std::string command = prefix + (piped.empty() ? "" : "cat " + piped + " | ") + "XDG_CONFIG_HOME='" +
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
    std::ifstream errors(folder / "stderr.txt");
    run.errors.assign(std::istreambuf_iterator<char>(errors), {});
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

TEST_F(ProgramTest, ACourseChosenOnTheCommandLineLocksTheConsolesGuide) {
    // The A4 string read as the third course: five semitones above its E4 string.
    const ProgramRun run = runProgram("--headless --fast --course 3 --input " + resource("3_4_A4.mp3"));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("guideCourse=\"Course 3 · E4\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("guideDirection=\"▼ tune down 5 semitones"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("guideCourse=\"Course 2"), std::string::npos) << "never the nearest course";

    for (const char* course : {"6", "0", "three"}) {
        const ProgramRun mistaken = runProgram(std::string("--headless --course ") + course);
        EXPECT_EQ(mistaken.status, 2) << course;
        EXPECT_EQ(mistaken.errors, "pallqa-tuner: --course: Value " + std::string(course) +
                                       " not in range 1 to 5\nRun 'pallqa-tuner --help' for usage.\n");
        EXPECT_EQ(mistaken.output, "");
    }
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

TEST_F(ProgramTest, ARecordingWhoseRateCannotBeConvertedEndsTheRunAtOnceWithStatusOne) {
    // The header states 1 Hz: 64 frames would last over a minute in real time.
    const std::string file = "'" + (std::filesystem::path(std::getenv("PALLQA_TEST_DATA")) / "one-hertz.wav").string() + "'";
    for (const char* clock : {"--fast ", ""}) {
        const auto started = std::chrono::steady_clock::now();
        const ProgramRun run = runProgram(std::string("--headless ") + clock + "--input " + file, "", "timeout 30 env ");
        EXPECT_EQ(run.status, 1) << clock;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(15)) << clock;
        EXPECT_NE(run.errors.find("one-hertz.wav"), std::string::npos) << run.errors;
    }
}

// A WAV file of `seconds` of silence at 192 kHz: a header, then a hole the
// file system fills with zeros, so it costs no disk.
[[maybe_unused]] std::filesystem::path silentRecording(double seconds) {
    const auto path = testing_support::temporaryFolder() / "silence-192k.wav";
    std::filesystem::create_directories(path.parent_path());
    const uint32_t rate = 192000;
    const auto dataBytes = static_cast<uint32_t>(seconds * rate) * 2u;
    const auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    const auto le16 = [](uint32_t v) { return std::string{char(v), char(v >> 8)}; };
    const std::string header = "RIFF" + le32(36 + dataBytes) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(rate) +
                               le32(rate * 2) + le16(2) + le16(16) + "data" + le32(dataBytes);
    std::ofstream(path, std::ios::binary) << header;
    std::filesystem::resize_file(path, header.size() + dataBytes);
    return path;
}

TEST_F(ProgramTest, RunningOutOfMemoryEndsWithAClearMessageAndStatusOne) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit under an address-space limit";
#else
    // Ten minutes at 192 kHz decode to far more than the 600 MB of address
    // space the program is given here (a small recording analyses within it).
    const std::string small = resource("beep-full.wav");
    const std::string limit = "ulimit -v 600000 && ";
    const ProgramRun fits = runProgram("analyze " + small, "", limit);
    ASSERT_EQ(fits.status, 0) << "the limit is too tight for the program itself: " << fits.errors;

    const ProgramRun run = runProgram("analyze '" + silentRecording(600).string() + "'", "", limit);
    EXPECT_TRUE(run.status == 0 || run.status == 1) << "status " << run.status << ": " << run.errors;
    if (run.status == 1) {
        EXPECT_NE(run.errors.find("pallqa-tuner: unexpected error: out of memory"), std::string::npos) << run.errors;
        EXPECT_EQ(run.errors.find("terminate called"), std::string::npos) << run.errors;
    }
#endif
}

// The first `bytes` of a resource, in this test's folder.
std::string cutShort(const char* name, size_t bytes) {
    const auto path = testing_support::temporaryFolder() / (std::string("cut-") + name);
    std::ifstream in(testing_support::resourcesFolder() / name, std::ios::binary);
    std::string head(bytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(bytes));
    std::ofstream(path, std::ios::binary) << head;
    return path.string();
}

TEST_F(ProgramTest, ARecordingCutShortIsSaidInOneLineAfterTheBuffersItHolds) {
    struct Case {
        const char* name;
        size_t bytes;
        const char* said;
        size_t lines;
    };
    const Case cases[] = {
        {"demo-tuning.wav", 20000, "the recording ends early: 9978 of 589638 frames read", 3},
        {"3_4_A4.mp3", 5000, "the recording ends early: 10415 of 110250 frames read", 1},
        {"3_4_A4.mp3", 12, "is not a sound file (no sound found in its 12 bytes: it is too short or damaged)", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " cut at " + std::to_string(c.bytes) + " bytes");
        const std::string file = cutShort(c.name, c.bytes);
        const ProgramRun run = runProgram("analyze '" + file + "'");
        // What a file cut short holds is analysed; a file with no sound is not.
        EXPECT_EQ(run.status, c.lines > 0 ? 0 : 1);
        // The decoder's own warnings on a damaged MP3 are in the log, not here.
        EXPECT_EQ(run.errors, "pallqa-tuner analyze: " + file + ": " + c.said + "\n");
        EXPECT_EQ(static_cast<size_t>(std::count(run.output.begin(), run.output.end(), '\n')), c.lines) << run.output;
    }
    std::ifstream log(testing_support::temporaryFolder() / "state" / "pallqa-tuner" / "pallqa-tuner.log");
    const std::string logged(std::istreambuf_iterator<char>(log), {});
    EXPECT_NE(logged.find("libmpg123"), std::string::npos) << logged;
}

TEST_F(ProgramTest, AScreenHeightNoLayoutServesEndsAConsoleRunWithStatusOne) {
    const ProgramRun run = runProgram("--headless --fast --seconds 1 --screen phone:100000 --input " +
                                      resource("demo-tuning.wav"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("pallqa-tuner: no layout for a phone 100000 points high; "), std::string::npos)
        << run.errors;
    EXPECT_EQ(run.output, "");
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
