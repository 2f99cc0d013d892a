// One contract for the settings store, run against the in-memory store and the
// file store; then what only the file store can get wrong.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>

#include <fstream>
#include <thread>

#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using platform::UserDefaults;

const std::string kDomain = "com.example.tests";

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

enum class Kind { Memory, File };

class StoreContract : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        file = testing_support::temporaryFolder() / "store" / (kDomain + ".json");
        fs::remove_all(file.parent_path());
        store = open();
    }
    void TearDown() override { fs::remove_all(testing_support::temporaryFolder()); }
    std::shared_ptr<UserDefaults> open() {
        return GetParam() == Kind::Memory ? UserDefaults::inMemory(kDomain) : UserDefaults::atFile(file, kDomain);
    }

    fs::path file;
    std::shared_ptr<UserDefaults> store;
};

TEST_P(StoreContract, MissingKeysReadAsZeroValues) {
    EXPECT_FALSE(store->boolForKey("absent"));
    EXPECT_EQ(store->integerForKey("absent"), 0);
    EXPECT_EQ(store->floatForKey("absent"), 0.0f);
    EXPECT_EQ(store->doubleForKey("absent"), 0.0);
    EXPECT_EQ(store->stringForKey("absent"), "");
    EXPECT_FALSE(store->objectForKey("absent"));
}

TEST_P(StoreContract, ValuesReadBackWithTheirCoercions) {
    store->setBool(true, "flag");
    store->setInteger(8, "slider");
    store->setInteger(-3'000'000'000'000LL, "big");
    store->setFloat(7.6f, "float");
    store->setDouble(1.5e9, "date");
    store->setObject("1.0.0", "version");

    EXPECT_TRUE(store->boolForKey("flag"));
    EXPECT_EQ(store->integerForKey("flag"), 1);  // switches are read back as integers
    EXPECT_EQ(store->integerForKey("slider"), 8);
    EXPECT_EQ(store->floatForKey("slider"), 8.0f);  // the slider level is read back as a float
    EXPECT_EQ(store->integerForKey("big"), -3'000'000'000'000LL);
    EXPECT_EQ(store->floatForKey("float"), 7.6f);
    EXPECT_EQ(store->integerForKey("float"), 7);
    EXPECT_EQ(store->doubleForKey("date"), 1.5e9);
    EXPECT_EQ(store->stringForKey("version"), "1.0.0");
}

TEST_P(StoreContract, AWriteReplacesAnEarlierValueOfAnotherType) {
    store->setObject("text", "key");
    store->setInteger(0, "key");
    EXPECT_EQ(store->stringForKey("key"), "0");
    store->setBool(false, "key");
    EXPECT_FALSE(store->boolForKey("key"));
    EXPECT_TRUE(std::holds_alternative<bool>(*store->objectForKey("key")));
    store->removeObjectForKey("key");
    EXPECT_FALSE(store->objectForKey("key"));
}

TEST_P(StoreContract, WipingTheDomainRemovesEveryKey) {
    store->setInteger(3, "chordsSearched");
    store->setBool(true, "NewPallqaPro");
    store->setPersistentDomain({}, "some.other.domain");
    EXPECT_EQ(store->integerForKey("chordsSearched"), 3);
    store->setPersistentDomain({}, kDomain);
    EXPECT_TRUE(store->dictionaryRepresentation().empty());
    ASSERT_TRUE(store->synchronize());
    EXPECT_TRUE(open()->dictionaryRepresentation().empty());
}

TEST_P(StoreContract, EachReadAndWriteIsWholeUnderConcurrency) {
    // Two writers alternate one key between two values of different types while
    // readers check that every read sees one of them, never a torn mixture.
    std::atomic<bool> stop = false;
    std::atomic<int> badReads = 0;
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int i = 0; i < 20000; ++i) store->setObject("abcdefghijklmnopqrstuvwxyz", "shared");
    });
    threads.emplace_back([&] {
        for (int i = 0; i < 20000; ++i) store->setInteger(42, "shared");
    });
    for (int r = 0; r < 2; ++r) {
        threads.emplace_back([&] {
            while (!stop) {
                const std::string text = store->stringForKey("shared");
                if (!text.empty() && text != "42" && text != "abcdefghijklmnopqrstuvwxyz") ++badReads;
            }
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 50; ++i) store->synchronize();
    });
    threads[0].join();
    threads[1].join();
    threads[4].join();
    stop = true;
    threads[2].join();
    threads[3].join();
    EXPECT_EQ(badReads, 0);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreContract, ::testing::Values(Kind::Memory, Kind::File),
                         [](const auto& tested) { return tested.param == Kind::Memory ? "Memory" : "File"; });

class FileStore : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::temporaryFolder() / "config";
        fs::remove_all(folder);
        file = folder / (kDomain + ".json");
    }
    void TearDown() override { fs::remove_all(testing_support::temporaryFolder()); }
    std::vector<fs::path> filesInFolder() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }
    fs::path folder;
    fs::path file;
    platform::LogCapture log;
};

TEST_F(FileStore, ValuesSurviveAReloadInANewInstance) {
    {
        auto store = UserDefaults::atFile(file, kDomain);
        store->setBool(true, "NewPallqaPro");
        store->setInteger(5, "savedSliderValue");
        store->setDouble(1767225600.25, "kRatingPromptFirstUseDate");
        store->setObject("Ñandú ♭", "text");
        ASSERT_TRUE(store->synchronize());
    }
    auto reloaded = UserDefaults::atFile(file, kDomain);
    EXPECT_TRUE(reloaded->boolForKey("NewPallqaPro"));
    EXPECT_EQ(reloaded->integerForKey("savedSliderValue"), 5);
    EXPECT_EQ(reloaded->doubleForKey("kRatingPromptFirstUseDate"), 1767225600.25);
    EXPECT_EQ(reloaded->stringForKey("text"), "Ñandú ♭");
    EXPECT_TRUE(std::holds_alternative<bool>(*reloaded->objectForKey("NewPallqaPro")));
    EXPECT_TRUE(std::holds_alternative<int64_t>(*reloaded->objectForKey("savedSliderValue")));
}

TEST_F(FileStore, SynchronizeLeavesNoTemporaryFileBehind) {
    auto store = UserDefaults::atFile(file, kDomain);
    store->setInteger(1, "numberOfRuns");
    ASSERT_TRUE(store->synchronize());
    fs::path lock = file;
    lock += ".lock";
    EXPECT_EQ(filesInFolder(), (std::vector<fs::path>{file, lock}));
}

TEST_F(FileStore, ADamagedFileIsKeptAsideAndTheStoreStartsEmpty) {
    for (const std::string damaged : {"{\"numberOfRuns\": 3,", "\x01\x02 not json", "[1, 2, 3]"}) {
        fs::remove_all(folder);
        writeFile(file, damaged);
        log.clear();

        auto store = UserDefaults::atFile(file, kDomain);

        EXPECT_TRUE(store->dictionaryRepresentation().empty()) << damaged;
        const auto files = filesInFolder();
        ASSERT_EQ(files.size(), 1u) << damaged;
        EXPECT_NE(files[0].filename().string().find(".damaged-"), std::string::npos);
        EXPECT_EQ(readFile(files[0]), damaged);
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_NE(log.lines()[0].find("damaged"), std::string::npos);
    }
}

TEST_F(FileStore, ASecondDamagedFileNeverOverwritesTheFirstOneKeptAside) {
    writeFile(file, "first damage");
    UserDefaults::atFile(file, kDomain);
    writeFile(file, "second damage");
    UserDefaults::atFile(file, kDomain);
    std::vector<std::string> contents;
    for (const auto& path : filesInFolder()) contents.push_back(readFile(path));
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"first damage", "second damage"}));
}

TEST_F(FileStore, AFailedWriteKeepsTheOldFileAndTheValuesInMemory) {
    auto store = UserDefaults::atFile(file, kDomain);
    store->setInteger(1, "numberOfRuns");
    ASSERT_TRUE(store->synchronize());
    const std::string before = readFile(file);

    // A folder where the temporary file must go makes the write fail, even for root.
    fs::path inTheWay = file;
    inTheWay += ".tmp";
    fs::create_directory(inTheWay);
    store->setInteger(2, "numberOfRuns");
    EXPECT_FALSE(store->synchronize());
    fs::remove(inTheWay);

    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(store->integerForKey("numberOfRuns"), 2);
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(store->synchronize());
    EXPECT_EQ(UserDefaults::atFile(file, kDomain)->integerForKey("numberOfRuns"), 2);
}

TEST_F(FileStore, AFailedWriteToAFileInTheWayKeepsTheValues) {
    // Works as root too: the store's folder is a plain file, so nothing can be created in it.
    writeFile(folder / "blocker", "");
    const fs::path blocked = folder / "blocker" / (kDomain + ".json");
    auto store = UserDefaults::atFile(blocked, kDomain);
    store->setInteger(7, "savedSliderValue");
    EXPECT_FALSE(store->synchronize());
    EXPECT_EQ(store->integerForKey("savedSliderValue"), 7);
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(FileStore, AnUnwritableLocationLogsItsFailureOncePerCause) {
    writeFile(folder / "blocker", "");
    auto store = UserDefaults::atFile(folder / "blocker" / (kDomain + ".json"), kDomain);
    for (int save = 0; save < 5; ++save) {
        store->setInteger(save, "savedSliderValue");
        EXPECT_FALSE(store->synchronize());
    }
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(FileStore, AFifoOrAFolderInPlaceOfTheFileIsUnreadableAndStartUpGoesOn) {
    fs::create_directories(folder);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto opening = std::async(std::launch::async, [&] { return UserDefaults::atFile(file, kDomain); });
    if (opening.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Lets the blocked reader go so that the test can end.
        const int fd = ::open(file.c_str(), O_WRONLY);
        ::close(fd);
        FAIL() << "opening a store whose file is a FIFO blocked";
    }
    EXPECT_TRUE(opening.get()->dictionaryRepresentation().empty());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("not a regular file"), std::string::npos) << log.lines()[0];
    EXPECT_TRUE(fs::is_fifo(file));

    fs::remove(file);
    fs::create_directories(file);
    log.clear();
    auto store = UserDefaults::atFile(file, kDomain);
    EXPECT_TRUE(store->dictionaryRepresentation().empty());
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(FileStore, ASymlinkedFileIsWrittenThroughToItsTarget) {
    const fs::path dotfiles = testing_support::temporaryFolder() / "dotfiles";
    fs::create_directories(dotfiles);
    fs::create_directories(folder);
    writeFile(dotfiles / "settings.json", "{\"savedSliderValue\": 3}");
    fs::create_symlink("../dotfiles/settings.json", file);

    auto store = UserDefaults::atFile(file, kDomain);
    EXPECT_EQ(store->integerForKey("savedSliderValue"), 3);
    store->setInteger(9, "savedSliderValue");
    ASSERT_TRUE(store->synchronize());

    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(UserDefaults::atFile(dotfiles / "settings.json", kDomain)->integerForKey("savedSliderValue"), 9);
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path(), file) << "left in the link's folder: " << entry.path();
    }
}

TEST_F(FileStore, StaleTemporaryFilesOfDeadProcessesAreRemovedAtStart) {
    fs::create_directories(folder);
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const auto beside = [&](const std::string& suffix) {
        fs::path path = file;
        path += suffix;
        return path;
    };
    writeFile(beside(".tmp-" + std::to_string(dead)), "{\"numberOfRuns\": 1}");
    writeFile(beside(".tmp-" + std::to_string(::getpid())), "{\"numberOfRuns\": 2}");
    writeFile(beside(".tmp"), "{\"numberOfRuns\": 3}");
    writeFile(file, "{\"numberOfRuns\": 4}");

    auto store = UserDefaults::atFile(file, kDomain);

    EXPECT_EQ(store->integerForKey("numberOfRuns"), 4);
    EXPECT_FALSE(fs::exists(beside(".tmp-" + std::to_string(dead))));
    EXPECT_FALSE(fs::exists(beside(".tmp")));
    // A living process may still be writing its own.
    EXPECT_TRUE(fs::exists(beside(".tmp-" + std::to_string(::getpid()))));
}

TEST_F(FileStore, ASaveWritesOnlyTheKeysThisInstanceChangedOntoTheFilesCurrentContents) {
    auto window = UserDefaults::atFile(file, kDomain);
    window->setInteger(1, "numberOfRuns");
    ASSERT_TRUE(window->synchronize());
    {
        auto console = UserDefaults::atFile(file, kDomain);
        console->setInteger(console->integerForKey("numberOfRuns") + 1, "numberOfRuns");
        console->setBool(true, "stringSoundsEnabled");
        ASSERT_TRUE(console->synchronize());
    }
    window->setInteger(5, "savedSliderValue");
    window->removeObjectForKey("absent");
    ASSERT_TRUE(window->synchronize());

    auto reloaded = UserDefaults::atFile(file, kDomain);
    EXPECT_EQ(reloaded->integerForKey("numberOfRuns"), 2);
    EXPECT_TRUE(reloaded->boolForKey("stringSoundsEnabled"));
    EXPECT_EQ(reloaded->integerForKey("savedSliderValue"), 5);
    // The window now reads the other run's changes too.
    EXPECT_EQ(window->integerForKey("numberOfRuns"), 2);
}

TEST_F(FileStore, ReplacingTheDomainStillReplacesTheWholeFile) {
    writeFile(file, "{\"numberOfRuns\": 3, \"old\": true}");
    auto store = UserDefaults::atFile(file, kDomain);
    store->setPersistentDomain({{"savedSliderValue", int64_t{2}}}, kDomain);
    ASSERT_TRUE(store->synchronize());
    EXPECT_EQ(UserDefaults::atFile(file, kDomain)->dictionaryRepresentation(),
              (UserDefaults::Dictionary{{"savedSliderValue", int64_t{2}}}));
}

TEST(DefaultStoreFile, FollowsXdgConfigHomeThenHome) {
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string xdg = savedXdg ? savedXdg : "", home = savedHome ? savedHome : "";

    setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(UserDefaults::defaultFileFor("com.x"), "/tmp/xdg/pallqa-tuner/com.x.json");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", "/home/musician", 1);
    EXPECT_EQ(UserDefaults::defaultFileFor("com.x"), "/home/musician/.config/pallqa-tuner/com.x.json");

    savedXdg ? setenv("XDG_CONFIG_HOME", xdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
}

}  // namespace
