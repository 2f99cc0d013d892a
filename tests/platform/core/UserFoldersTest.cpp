// The program's own folders: where the desktop's rules put them, the home
// folder from the password database when HOME is unset, and a folder used only
// when it is the user's own.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/core/UserFolders.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

namespace fs = std::filesystem;
using platform::UserFolder;

// A user id that no one on a test machine has.
constexpr uid_t kAnotherUser = 54321;

mode_t modeOf(const fs::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

class UserFolders : public ::testing::Test {
protected:
    void SetUp() override {
        scratch = testing_support::temporaryFolder();
        environment.set("HOME", (scratch / "home").string());
        environment.clear("XDG_CONFIG_HOME");
        environment.clear("XDG_STATE_HOME");
    }
    void TearDown() override { fs::remove_all(scratch); }

    fs::path scratch;
    testing_support::ScopedEnvironment environment;
};

TEST_F(UserFolders, FollowTheBaseFolderVariablesThenTheHomeFolder) {
    struct Case {
        const char* variable;
        const char* value;  // under the scratch folder; null for unset, "relative" for a relative value
        UserFolder (*folder)();
        fs::path expected;  // under the scratch folder
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME", "xdg-config", platform::configFolder, "xdg-config/pallqa-tuner"},
        {"XDG_CONFIG_HOME", nullptr, platform::configFolder, "home/.config/pallqa-tuner"},
        // A relative value is no base folder; the desktop's rules say to ignore it.
        {"XDG_CONFIG_HOME", "relative", platform::configFolder, "home/.config/pallqa-tuner"},
        {"XDG_STATE_HOME", "xdg-state", platform::stateFolder, "xdg-state/pallqa-tuner"},
        {"XDG_STATE_HOME", nullptr, platform::stateFolder, "home/.local/state/pallqa-tuner"},
        {"XDG_STATE_HOME", "relative", platform::stateFolder, "home/.local/state/pallqa-tuner"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.variable) + "=" + (c.value ? c.value : "(unset)"));
        if (!c.value) {
            environment.clear(c.variable);
        } else if (std::string(c.value) == "relative") {
            environment.set(c.variable, "some/where");
        } else {
            environment.set(c.variable, (scratch / c.value).string());
        }
        const UserFolder folder = c.folder();
        ASSERT_TRUE(folder.path) << folder.problem;
        EXPECT_EQ(*folder.path, scratch / c.expected);
        EXPECT_EQ(modeOf(*folder.path), 0700u) << "made for the user alone";
    }
}

TEST_F(UserFolders, WithoutHomeTheHomeFolderIsThePasswordDatabases) {
    environment.clear("HOME");
    const struct passwd* entry = ::getpwuid(::geteuid());
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(platform::homeFolder());
    EXPECT_EQ(*platform::homeFolder(), fs::path(entry->pw_dir));
    environment.set("HOME", "");
    EXPECT_EQ(*platform::homeFolder(), fs::path(entry->pw_dir));
}

TEST_F(UserFolders, AFolderOthersMayWriteInIsNotUsed) {
    const fs::path folder = scratch / "shared" / "pallqa-tuner";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::all);
    const UserFolder refused = platform::ownFolder(folder);
    EXPECT_FALSE(refused.path);
    EXPECT_EQ(refused.problem, folder.string() + " is not used: others than its owner may write in it (mode 777)");
}

TEST_F(UserFolders, AFolderOfAnotherUserIsNotUsed) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
    const fs::path folder = scratch / "planted" / "pallqa-tuner";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
    ASSERT_EQ(::chown(folder.c_str(), kAnotherUser, kAnotherUser), 0);
    const UserFolder refused = platform::ownFolder(folder);
    EXPECT_FALSE(refused.path);
    EXPECT_EQ(refused.problem, folder.string() + " is not used: it belongs to another user (uid 54321)");
}

TEST_F(UserFolders, ALinkIsFollowedOnlyFromAFolderOfTheUsersOwn) {
    const fs::path target = scratch / "dotfiles" / "pallqa-tuner";
    fs::create_directories(target);
    fs::permissions(target, fs::perms::owner_all, fs::perm_options::replace);

    // A dotfiles set-up: the link sits in the user's own configuration folder.
    const fs::path own = scratch / "config";
    fs::create_directories(own);
    fs::create_directory_symlink(target, own / "pallqa-tuner");
    const UserFolder followed = platform::ownFolder(own / "pallqa-tuner");
    ASSERT_TRUE(followed.path) << followed.problem;

    // The same link planted in a folder everyone may write in, as /tmp.
    const fs::path shared = scratch / "tmp";
    fs::create_directories(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    fs::create_directory_symlink(target, shared / "pallqa-tuner");
    const UserFolder refused = platform::ownFolder(shared / "pallqa-tuner");
    EXPECT_FALSE(refused.path);
    EXPECT_EQ(refused.problem, (shared / "pallqa-tuner").string() + " is not used: it is a link in " + shared.string() +
                                   ", and others than its owner may write in it (mode 777)");
}

TEST_F(UserFolders, AFolderThatCannotBeMadeSaysWhy) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may make a folder anywhere";
    const fs::path locked = scratch / "locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    const UserFolder refused = platform::ownFolder(locked / "pallqa-tuner");
    fs::permissions(locked, fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_FALSE(refused.path);
    EXPECT_EQ(refused.problem, (locked / "pallqa-tuner").string() + " is not used: cannot make it (Permission denied)");
}

}  // namespace
