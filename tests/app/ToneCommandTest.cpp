// `pallqa-tuner tone`, run as the program: its recordings against golden
// files, their length, and its answers to bad arguments. On a mismatch the
// actual recording is written beside the golden file.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/PlainPlatform.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kHeaderBytes = 44;
constexpr uint32_t kBytesPerFrame = 4;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs `pallqa-tuner tone ARGUMENTS...` and collects its exit status and output.
Outcome runTone(const std::vector<std::string>& arguments) {
    const fs::path folder = testing_support::temporaryFolder();
    const fs::path out = folder / "stdout.txt";
    const fs::path err = folder / "stderr.txt";
    std::vector<std::string> words{PALLQA_PROGRAM, "tone"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, PALLQA_PROGRAM, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = contentsOf(out);
    outcome.err = contentsOf(err);
    return outcome;
}

// The tone's golden files, kept with the synthesiser's own tests.
fs::path testData() { return fs::path(PALLQA_TONE_GOLDEN_FILES); }

uint32_t little32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return value;
}

TEST(ToneCommandTest, RecordingsMatchTheGoldenFiles) {
    const fs::path data = testData();
    for (const char* note : {"E5", "A4", "E4", "C5", "G4"}) {
        const std::string name = std::string("tone-") + note + "-50ms";
        const fs::path written = testing_support::temporaryFolder() / (name + ".wav");
        const Outcome outcome = runTone({note, "--seconds", "0.05", "--out", written.string()});
        ASSERT_EQ(outcome.status, 0) << note << ": " << outcome.err;
        const std::string actual = contentsOf(written);
        const std::string golden = contentsOf(data / (name + ".wav"));
        ASSERT_FALSE(golden.empty()) << "missing golden file " << name;
        if (actual != golden) {
            const fs::path beside = data / (name + ".actual.wav");
            fs::copy_file(written, beside, fs::copy_options::overwrite_existing);
            ADD_FAILURE() << note << " differs from its golden file; the recording is at " << beside;
        }
    }
}

TEST(ToneCommandTest, GoldenA4StartsWithTheKnownFrames) {
    const std::string golden = contentsOf(testData() / "tone-A4-50ms.wav");
    ASSERT_GE(golden.size(), kHeaderBytes + 6 * kBytesPerFrame);
    const std::vector<int16_t> expected{0, 1524, 3044, 4558, 6060, 7548};
    for (size_t i = 0; i < expected.size(); ++i) {
        const uint32_t frame = little32(golden, kHeaderBytes + i * kBytesPerFrame);
        EXPECT_EQ(static_cast<int16_t>(frame & 0xffff), expected[i]) << "left of frame " << i;
        EXPECT_EQ(static_cast<int16_t>(frame >> 16), expected[i]) << "right of frame " << i;
    }
}

TEST(ToneCommandTest, WritesExactlyTheSecondsAskedFor) {
    struct Case {
        std::vector<std::string> seconds;
        uint32_t frames;
    };
    const Case cases[] = {{{}, 132300}, {{"--seconds", "0.5"}, 22050}, {{"--seconds", "0.001"}, 44}};
    for (const Case& c : cases) {
        const fs::path written = testing_support::temporaryFolder() / "length.wav";
        std::vector<std::string> arguments{"G4", "--out", written.string()};
        arguments.insert(arguments.end(), c.seconds.begin(), c.seconds.end());
        const Outcome outcome = runTone(arguments);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const std::string bytes = contentsOf(written);
        ASSERT_GE(bytes.size(), kHeaderBytes);
        EXPECT_EQ(little32(bytes, 40), c.frames * kBytesPerFrame) << c.frames;
        EXPECT_EQ(bytes.size(), kHeaderBytes + c.frames * kBytesPerFrame) << c.frames;
    }
}

TEST(ToneCommandTest, BadArgumentsShowTheUsageAndExitWith2) {
    // OUT stands for a file that must not be written.
    const std::vector<std::vector<std::string>> cases{
        {},
        {"--out", "OUT"},
        {"X5", "--out", "OUT"},
        {"A4", "E5", "--out", "OUT"},
        {"A4", "--loud", "--out", "OUT"},
        {"A4", "--out", "OUT", "--seconds"},
        {"A4", "--out", "OUT", "--seconds", "0"},
        {"A4", "--out", "OUT", "--seconds", "-1"},
        {"A4", "--out", "OUT", "--seconds", "3601"},
        {"A4", "--out", "OUT", "--seconds", "2s"},
        {"A4", "--out", "OUT", "--seconds", "nan"},
        {"A4", "--out"},
    };
    const fs::path written = testing_support::temporaryFolder() / "never.wav";
    for (auto arguments : cases) {
        std::string shown = "tone";
        for (auto& argument : arguments) {
            shown += " " + argument;
            if (argument == "OUT") argument = written.string();
        }
        const Outcome outcome = runTone(arguments);
        EXPECT_EQ(outcome.status, 2) << shown;
        EXPECT_EQ(outcome.err.rfind("pallqa-tuner", 0), 0u) << shown << ": " << outcome.err;
        EXPECT_TRUE(outcome.out.empty()) << shown;
        EXPECT_FALSE(fs::exists(written)) << shown;
    }
}

TEST(ToneCommandTest, AnOptionGivenTwiceIsNamedSo) {
    const fs::path written = testing_support::temporaryFolder() / "never.wav";
    for (const std::string option : {"--out", "--seconds"}) {
        const std::string value = option == "--out" ? written.string() : "1";
        const Outcome outcome = runTone({"A4", option, value, option, value});
        EXPECT_EQ(outcome.status, 2) << option;
        EXPECT_EQ(outcome.err.rfind("pallqa-tuner: " + option + " is given more than once; give it one value\n", 0), 0u)
            << outcome.err;
        EXPECT_FALSE(fs::exists(written));
    }
}

TEST(ToneCommandTest, KilledMidWriteTheOldFileStaysAsItWas) {
    const fs::path folder = testing_support::temporaryFolder() / "killed";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path written = folder / "tone.wav";
    std::ofstream(written) << "the old recording";
    // An hour of tone takes far longer to write than the run is given.
    std::vector<std::string> words{PALLQA_PROGRAM, "tone", "A4", "--seconds", "3600", "--out", written.string()};
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, PALLQA_PROGRAM, nullptr, nullptr, argv.data(), environ), 0);
    // Until the writing has surely begun: a file other than the old one appears.
    for (int wait = 0; wait < 500 && std::distance(fs::directory_iterator(folder), fs::directory_iterator()) < 2; ++wait) {
        usleep(10000);
    }
    usleep(100000);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the tone was written before it could be killed";
    EXPECT_EQ(contentsOf(written), "the old recording");
    fs::remove_all(folder);
}

// A tone being written in a folder of its own, by a program started for it.
class ToneBeingWritten {
public:
    // An hour of tone: far longer to write than any test waits. `fileSizeLimit`
    // (bytes) is set as `ulimit -f` would.
    explicit ToneBeingWritten(std::optional<rlim_t> fileSizeLimit = std::nullopt)
        : folder_(testing_support::temporaryFolder() / "written"), target_(folder_ / "tone.wav") {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(target_) << "the old recording";
        const std::string err = (folder_.parent_path() / "stderr.txt").string();
        pid_ = ::fork();
        if (pid_ == 0) {
            if (fileSizeLimit) {
                const rlimit limit{*fileSizeLimit, *fileSizeLimit};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(errFd, 2);
            ::execl(PALLQA_PROGRAM, PALLQA_PROGRAM, "tone", "A4", "--seconds", "3600", "--out", target_.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }

    // Waits until the temporary file has appeared beside the old one.
    bool started() const {
        for (int wait = 0; wait < 2000; ++wait) {
            if (names().size() > 1) return true;
            usleep(10000);
        }
        return false;
    }

    // Waits for the program to end; answers the signal that ended it, or 0.
    int endingSignal() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_)) found.push_back(entry.path().filename().string());
        return found;
    }
    std::string errors() const { return contentsOf(folder_.parent_path() / "stderr.txt"); }
    pid_t pid() const { return pid_; }
    const fs::path& target() const { return target_; }

private:
    fs::path folder_;
    fs::path target_;
    pid_t pid_;
};

TEST(ToneCommandTest, StoppedBySIGINTOrSIGTERMItLeavesNoTemporaryFileAndEndsAsTheSignalEnds) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        ToneBeingWritten tone;
        ASSERT_TRUE(tone.started());
        ::kill(tone.pid(), signal);
        EXPECT_EQ(tone.endingSignal(), signal);
        EXPECT_EQ(tone.names(), std::vector<std::string>{"tone.wav"});
        EXPECT_EQ(contentsOf(tone.target()), "the old recording");
        EXPECT_EQ(tone.errors(), "pallqa-tuner: stopped; " + tone.target().string() + " is not written\n");
    }
}

TEST(ToneCommandTest, PastTheFileSizeLimitItSaysSoAndLeavesNoTemporaryFile) {
    ToneBeingWritten tone(rlim_t{1} << 20);
    EXPECT_EQ(tone.endingSignal(), SIGXFSZ);
    EXPECT_EQ(tone.names(), std::vector<std::string>{"tone.wav"});
    EXPECT_EQ(tone.errors(), "pallqa-tuner: cannot write " + tone.target().string() + ": file too large\n");
}

TEST(ToneCommandTest, APipeOrAFifoGetsTheRecordingStraight) {
    const std::string golden = contentsOf(testData() / "tone-A4-50ms.wav");
    // Through a pipe, as "tone A4 --out /dev/stdout | ..." on a terminal.
    FILE* pipe = ::popen("'" PALLQA_PROGRAM "' tone A4 --seconds 0.05 --out /dev/stdout", "r");
    ASSERT_NE(pipe, nullptr);
    std::string piped;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) piped.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(piped, golden);

    const fs::path fifo = testing_support::temporaryFolder() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return contentsOf(fifo); });
    const Outcome outcome = runTone({"A4", "--seconds", "0.05", "--out", fifo.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(reading.get(), golden);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(ToneCommandTest, TakesTheNoteInEitherCase) {
    const fs::path lower = testing_support::temporaryFolder() / "lower.wav";
    const fs::path upper = testing_support::temporaryFolder() / "upper.wav";
    ASSERT_EQ(runTone({"a4", "--seconds", "0.05", "--out", lower.string()}).status, 0);
    ASSERT_EQ(runTone({"A4", "--seconds=0.05", "--out=" + upper.string()}).status, 0);
    EXPECT_EQ(contentsOf(lower), contentsOf(upper));
}

TEST(ToneCommandTest, UnwritableFileFailsWithTheReason) {
    const fs::path written = testing_support::temporaryFolder() / "missing-folder" / "tone.wav";
    const Outcome outcome = runTone({"A4", "--out", written.string()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find(written.string()), std::string::npos) << outcome.err;
}

}  // namespace
