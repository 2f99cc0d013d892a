// The system log's file: every line kept, repeats folded as system loggers
// fold them, the file bounded and rotated, and stderr used only when asked or
// when the file cannot be written.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/SystemLog.h"

namespace {

namespace fs = std::filesystem;
using platform::SystemLog;
using Lines = std::vector<std::string>;

// The messages of a log file, without their timestamp, program and process.
Lines messagesIn(const fs::path& file) {
    Lines messages;
    std::ifstream in(file);
    const std::string tag = "[" + std::to_string(getpid()) + "] ";
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find(tag);
        messages.push_back(at == std::string::npos ? "unprefixed: " + line : line.substr(at + tag.size()));
    }
    return messages;
}

// A clock the test moves by hand.
struct ManualClock {
    std::chrono::steady_clock::time_point now{};
    SystemLog::Clock function() {
        return [this] { return now; };
    }
};

// Collects what is written to file descriptor 2 while it lives.
class StderrCapture {
public:
    StderrCapture() : file_(std::tmpfile()), saved_(dup(2)) {
        std::fflush(stderr);
        dup2(fileno(file_), 2);
    }
    ~StderrCapture() {
        restore();
        std::fclose(file_);
    }
    std::string text() {
        restore();
        std::string text;
        std::rewind(file_);
        for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
        return text;
    }

private:
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, 2);
        close(saved_);
        saved_ = -1;
    }
    std::FILE* file_;
    int saved_;
};

class SystemLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / "pallqa-tests" /
                 ("SystemLog." + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "." +
                  std::to_string(getpid()));
        fs::remove_all(folder);
        file = folder / "state" / "pallqa-tuner" / "pallqa-tuner.log";
    }
    void TearDown() override { fs::remove_all(folder); }

    SystemLog::Destinations toFile(uint64_t maxBytes = SystemLog::Destinations::kMaxFileBytes) const {
        return {file, nullptr, maxBytes};
    }

    fs::path folder;
    fs::path file;
    ManualClock clock;
};

TEST_F(SystemLogTest, LinesGoToTheFileInItsOwnFolderAndNotToStderr) {
    StderrCapture err;
    {
        SystemLog log(toFile(), clock.function());
        log.write("iPhone has a height of: 844.000000");
        log.write("AudioQueueSetProperty error: 0");
    }
    EXPECT_EQ(err.text(), "");
    EXPECT_EQ(messagesIn(file), (Lines{"iPhone has a height of: 844.000000", "AudioQueueSetProperty error: 0"}));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SystemLogTest, TheEchoGetsTheSameLinesAsTheFile) {
    StderrCapture err;
    {
        SystemLog log({file, stderr}, clock.function());
        log.write("Sonido desactivado");
        log.write("Sonido desactivado");
        log.write("bottomLimit: 0.004000");
    }
    const std::string echoed = err.text();
    std::ofstream(folder / "echoed.log") << echoed;
    EXPECT_EQ(messagesIn(folder / "echoed.log"), messagesIn(file));
    EXPECT_EQ(messagesIn(file).size(), 3u) << echoed;
}

TEST_F(SystemLogTest, RepeatsBackToBackAreFolded) {
    struct Case {
        const char* what;
        Lines written;
        Lines logged;
    };
    const Case cases[] = {
        {"different lines", {"a", "b", "a"}, {"a", "b", "a"}},
        {"a run ended by another line", {"a", "a", "a", "b"}, {"a", "last line repeated 2 times", "b"}},
        {"a run at the end", {"b", "a", "a"}, {"b", "a", "last line repeated 1 times"}},
        {"two runs", {"a", "a", "b", "b", "b", "a"},
         {"a", "last line repeated 1 times", "b", "last line repeated 2 times", "a"}},
        {"lines differing only in case", {"Stop", "stop"}, {"Stop", "stop"}},
    };
    for (const Case& c : cases) {
        fs::remove(file);
        {
            SystemLog log(toFile(), clock.function());
            for (const auto& line : c.written) log.write(line);
        }
        EXPECT_EQ(messagesIn(file), c.logged) << c.what;
    }
}

TEST_F(SystemLogTest, ALongRunIsCountedWhileItGoesOn) {
    // A string held in tune: the same line every 10 ms.
    SystemLog log(toFile(), clock.function());
    log.write("Sonido desactivado");
    for (int tick = 0; tick < 3001; ++tick) {
        clock.now += std::chrono::milliseconds(10);
        log.write("Sonido desactivado");
    }
    EXPECT_EQ(messagesIn(file), (Lines{"Sonido desactivado", "last line repeated 3001 times"}));
    log.write("Sonido desactivado");
    log.flush();
    EXPECT_EQ(messagesIn(file),
              (Lines{"Sonido desactivado", "last line repeated 3001 times", "last line repeated 1 times"}));
}

TEST_F(SystemLogTest, AFullFileIsRotatedAndTheLogStaysBounded) {
    const uint64_t bound = 400;
    {
        SystemLog log(toFile(bound), clock.function());
        for (int i = 0; i < 30; ++i) log.write("line " + std::to_string(i));
    }
    const fs::path rotated = file.string() + ".1";
    ASSERT_TRUE(fs::exists(rotated));
    EXPECT_LE(fs::file_size(file), bound);
    EXPECT_LE(fs::file_size(rotated), bound);
    // The newest lines are in the file, the ones just before them in the rotated one.
    Lines kept = messagesIn(rotated);
    for (const auto& line : messagesIn(file)) kept.push_back(line);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.back(), "line 29");
    for (size_t i = 1; i < kept.size(); ++i) {
        EXPECT_EQ(std::stoi(kept[i].substr(5)), std::stoi(kept[i - 1].substr(5)) + 1) << kept[i];
    }
}

TEST_F(SystemLogTest, ALaterRunAppendsToTheFile) {
    { SystemLog(toFile(), clock.function()).write("first run"); }
    { SystemLog(toFile(), clock.function()).write("second run"); }
    EXPECT_EQ(messagesIn(file), (Lines{"first run", "second run"}));
}

TEST_F(SystemLogTest, AFileThatCannotBeWrittenIsSaidOnceAndTheLinesGoToStderr) {
    fs::create_directories(folder);
    std::ofstream(folder / "state") << "a file where the folder should be";
    StderrCapture err;
    {
        SystemLog log(toFile(), clock.function());
        log.write("first");
        log.write("second");
    }
    const std::string text = err.text();
    EXPECT_NE(text.find("the log cannot be written to " + file.string()), std::string::npos) << text;
    EXPECT_EQ(text.find("cannot be written", text.find("cannot be written") + 1), std::string::npos) << text;
    EXPECT_NE(text.find("] first\n"), std::string::npos) << text;
    EXPECT_NE(text.find("] second\n"), std::string::npos) << text;
}

TEST_F(SystemLogTest, AFifoAtTheFilesNameIsNeverWaitedOnAndTheLinesGoToStderr) {
    fs::create_directories(file.parent_path());
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    StderrCapture err;
    {
        // Would wait here for a reader, for ever, if the FIFO were opened as a file.
        SystemLog log(toFile(), clock.function());
        log.write("first");
    }
    const std::string text = err.text();
    EXPECT_NE(text.find("the log cannot be written to " + file.string() + " (not a regular file); its lines go to stderr"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("] first\n"), std::string::npos) << text;
    EXPECT_TRUE(fs::is_fifo(file));
}

TEST_F(SystemLogTest, AFullFileIsNeverRotatedOverSomethingOtherThanAFile) {
    fs::create_directories(file.parent_path());
    const fs::path rotated = file.string() + ".1";
    ASSERT_EQ(::mkfifo(rotated.c_str(), 0600), 0);
    StderrCapture err;
    {
        SystemLog log(toFile(100), clock.function());
        for (int i = 0; i < 5; ++i) log.write("line " + std::to_string(i));
    }
    const std::string text = err.text();
    EXPECT_NE(text.find("cannot rotate it: " + rotated.string() + " is not a regular file"), std::string::npos)
        << text;
    EXPECT_TRUE(fs::is_fifo(rotated));
    // Nothing is lost: what the file did not take went to stderr.
    EXPECT_NE(text.find("] line 4\n"), std::string::npos) << text;
}

TEST_F(SystemLogTest, RedirectingWritesOutTheRunSoFarAndStartsAfresh) {
    SystemLog log(toFile(), clock.function());
    log.write("a");
    log.write("a");
    const fs::path other = folder / "other.log";
    log.redirect({other, nullptr});
    log.write("a");
    log.write("b");
    EXPECT_EQ(messagesIn(file), (Lines{"a", "last line repeated 1 times"}));
    EXPECT_EQ(messagesIn(other), (Lines{"a", "b"})) << "the new file has not seen the line before";
}

TEST_F(SystemLogTest, WhatTheUserMustSeeReachesStderrOnceWhateverTheEcho) {
    const std::string logged = "No display: the screen is shown on the console";
    // The user's language may say it otherwise than the log does: then the echo does not say it for them.
    for (const std::string& told : {logged, std::string("Sin pantalla: la pantalla se muestra en la consola")}) {
        for (std::FILE* echo : {static_cast<std::FILE*>(nullptr), stderr}) {
            StderrCapture err;
            {
                SystemLog log({file, echo}, clock.function());
                log.write(logged);
                log.tellUser(told, logged);
            }
            const std::string text = err.text();
            const std::string line = told + "\n";
            EXPECT_NE(text.find(line), std::string::npos) << text;
            EXPECT_EQ(text.find(line), text.rfind(line)) << "once: " << text;
        }
    }
}

}  // namespace
