// Where a run keeps its settings and its log when the user's folders cannot
// hold them: no home folder at all, or folders the user may not write in. The
// program runs as a user of its own (54321, in no password database), so
// these tests need root.

#include <gtest/gtest.h>
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

constexpr const char* kAnotherUser = "54321";

// Occurrences of `text` in `in`.
size_t count(const std::string& in, const std::string& text) {
    size_t found = 0;
    for (size_t at = in.find(text); at != std::string::npos; at = in.find(text, at + 1)) ++found;
    return found;
}

class UserFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "only root can run the program as another user";
        scratch = testing_support::temporaryFolder();
        // Everyone may go through the scratch folder, as through /tmp.
        fs::permissions(scratch, fs::perms::all | fs::perms::sticky_bit);
    }
    void TearDown() override { fs::remove_all(testing_support::temporaryFolder()); }

    // Runs a short console run as the other user with nothing but `environment`.
    int run(const std::string& environment) {
        LiveProcess program("exec setpriv --reuid=" + std::string(kAnotherUser) + " --regid=" + kAnotherUser +
                                " --clear-groups env -i " + environment + " '" PALLQA_PROGRAM
                                "' --headless --fast --seconds 1 --input '" +
                                (testing_support::resourcesFolder() / "demo-tuning.wav").string() + "'",
                            scratch / "stdout.txt", scratch / "stderr.txt");
        return program.wait();
    }
    std::string errors() const { return live_testing::readText(scratch / "stderr.txt"); }

    fs::path scratch;
};

TEST_F(UserFiles, WithoutAHomeFolderSettingsStayInMemoryAndTheLogGoesToStderrSaidOnce) {
    // The shared temporary folder, where runs without a home used to keep their files.
    const fs::path shared = scratch / "tmp";
    fs::create_directories(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    EXPECT_EQ(run("TMPDIR='" + shared.string() + "'"), 0) << errors();
    EXPECT_TRUE(fs::is_empty(shared)) << "nothing is kept in a shared folder";
    EXPECT_EQ(count(errors(), "no home folder (HOME is not set and the password database names none): settings are "
                              "kept in memory only and the log goes to stderr"),
              1u)
        << errors();
    // The log's own lines are there too.
    EXPECT_NE(errors().find("Me abriste por primera vez"), std::string::npos) << errors();
}

TEST_F(UserFiles, FoldersTheUserMayNotWriteInAreNamedWithTheCause) {
    // Root's own folder, which the other user may read but not write in.
    const fs::path locked = scratch / "locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace);
    EXPECT_EQ(run("HOME='" + (scratch / "home").string() + "' XDG_CONFIG_HOME='" + (locked / "config").string() +
                  "' XDG_STATE_HOME='" + (locked / "state").string() + "'"),
              0)
        << errors();
    EXPECT_EQ(count(errors(), "Settings are kept in memory only: " + (locked / "config" / "pallqa-tuner").string() +
                                  " is not used: cannot make " + (locked / "config").string() +
                                  " (Permission denied)"),
              1u)
        << errors();
    EXPECT_EQ(count(errors(), "The log goes to stderr: " + (locked / "state" / "pallqa-tuner").string() +
                                  " is not used: cannot make " + (locked / "state").string() +
                                  " (Permission denied)"),
              1u)
        << errors();
    EXPECT_EQ(errors().find("No such file or directory"), std::string::npos) << errors();
}

}  // namespace
