// One contract for the settings store, run against the in-memory store and the
// file store; then what only the file store can get wrong.

#include <gtest/gtest.h>
#include <unistd.h>

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
    EXPECT_EQ(filesInFolder(), std::vector<fs::path>{file});
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
    inTheWay += ".tmp-" + std::to_string(getpid());
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
