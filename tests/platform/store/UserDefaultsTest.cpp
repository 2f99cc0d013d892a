// One contract for the settings store, run against the in-memory store and the
// file store; then what only the file store can get wrong.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>
#include <iostream>
#include <limits>

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

// Makes something other than a regular file at `path`: a FIFO, a character
// device (the null device's numbers, made here, never the system's own), a
// folder, or either of the first two behind a link. False where this user may
// not make it.
enum class Special { Fifo, Device, Folder, LinkToFifo, LinkToDevice };

bool makeSpecial(Special kind, const fs::path& path) {
    fs::path made = path;
    if (kind == Special::LinkToFifo || kind == Special::LinkToDevice) {
        made = path.parent_path() / "elsewhere";
        fs::create_symlink(made, path);
    }
    switch (kind) {
    case Special::Fifo:
    case Special::LinkToFifo:
        return ::mkfifo(made.c_str(), 0600) == 0;
    case Special::Device:
    case Special::LinkToDevice:
        return ::mknod(made.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    case Special::Folder:
        return fs::create_directory(made);
    }
    return false;
}

// A store's file is waited on at most this long before a test calls it hung.
template <typename Result>
bool finishesSoon(std::future<Result>& running) {
    return running.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

TEST_F(FileStore, SomethingOtherThanARegularFileIsNeverReplacedNorWaitedOn) {
    const struct {
        const char* name;
        Special kind;
    } cases[] = {{"FIFO", Special::Fifo},
                 {"device", Special::Device},
                 {"folder", Special::Folder},
                 {"link to a FIFO", Special::LinkToFifo},
                 {"link to a device", Special::LinkToDevice}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        if (!makeSpecial(c.kind, file)) {
            std::cout << "skipped: this user cannot make a " << c.name << "\n";
            continue;
        }
        const fs::file_type before = fs::status(file).type();
        log.clear();
        // The first run's reset replaces the whole domain: the save that
        // used to put a regular file in place of whatever was there.
        auto saving = std::async(std::launch::async, [&] {
            auto store = UserDefaults::atFile(file, kDomain);
            store->setPersistentDomain({}, kDomain);
            store->setInteger(1, "numberOfRuns");
            const bool saved = store->synchronize();
            return saved || store->integerForKey("numberOfRuns") != 1;
        });
        ASSERT_TRUE(finishesSoon(saving)) << "the store waited on the " << c.name;
        EXPECT_FALSE(saving.get()) << "saved, or lost the value in memory";
        EXPECT_EQ(fs::status(file).type(), before);
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines()[0], "Settings file " + file.string() +
                                      " is not a regular file; starting with default settings, kept in memory only");
        fs::path temporary = file;
        temporary += ".tmp";
        EXPECT_FALSE(fs::exists(fs::symlink_status(temporary)));
    }
}

TEST_F(FileStore, WhatIsAtTheTemporaryNameIsRemovedAndNeverWaitedOn) {
    fs::create_directories(folder);
    fs::path temporary = file;
    temporary += ".tmp";
    ASSERT_EQ(::mkfifo(temporary.c_str(), 0600), 0);
    auto saving = std::async(std::launch::async, [&] {
        auto store = UserDefaults::atFile(file, kDomain);
        store->setInteger(4, "savedSliderValue");
        return store->synchronize();
    });
    ASSERT_TRUE(finishesSoon(saving)) << "the save waited on a FIFO at its temporary name";
    EXPECT_TRUE(saving.get());
    EXPECT_EQ(UserDefaults::atFile(file, kDomain)->integerForKey("savedSliderValue"), 4);
    EXPECT_FALSE(fs::exists(fs::symlink_status(temporary)));
}

TEST_F(FileStore, AFifoAtTheLockNameFailsTheSaveWithoutWaiting) {
    fs::create_directories(folder);
    fs::path lock = file;
    lock += ".lock";
    ASSERT_EQ(::mkfifo(lock.c_str(), 0600), 0);
    auto saving = std::async(std::launch::async, [&] {
        auto store = UserDefaults::atFile(file, kDomain);
        store->setInteger(4, "savedSliderValue");
        return store->synchronize();
    });
    ASSERT_TRUE(finishesSoon(saving)) << "the save waited on a FIFO at its lock's name";
    EXPECT_FALSE(saving.get());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Could not save settings to " + file.string() +
                                                    ": its lock file: not a regular file; the previous file is "
                                                    "unchanged"});
    EXPECT_TRUE(fs::is_fifo(lock));
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(FileStore, CountsAddToWhatOtherStoresCountedMeanwhile) {
    writeFile(file, "{\"numberOfRuns\": 10}");
    auto window = UserDefaults::atFile(file, kDomain);
    auto console = UserDefaults::atFile(file, kDomain);
    EXPECT_EQ(window->incrementIntegerForKey("numberOfRuns"), 11);
    EXPECT_EQ(window->incrementIntegerForKey("numberOfRuns"), 12);
    EXPECT_EQ(console->incrementIntegerForKey("numberOfRuns"), 11);
    ASSERT_TRUE(console->synchronize());
    ASSERT_TRUE(window->synchronize());
    EXPECT_EQ(window->integerForKey("numberOfRuns"), 13) << "the window reads the console's count too";
    EXPECT_EQ(UserDefaults::atFile(file, kDomain)->integerForKey("numberOfRuns"), 13);
}

TEST_F(FileStore, AValueSetThenCountedIsSavedAsSetWhateverOthersCounted) {
    writeFile(file, "{\"kRatingPromptUseCount\": 40}");
    auto resetting = UserDefaults::atFile(file, kDomain);
    auto counting = UserDefaults::atFile(file, kDomain);
    // A new version starts its count afresh, then counts a use.
    resetting->setInteger(0, "kRatingPromptUseCount");
    EXPECT_EQ(resetting->incrementIntegerForKey("kRatingPromptUseCount"), 1);
    counting->incrementIntegerForKey("kRatingPromptUseCount");
    ASSERT_TRUE(counting->synchronize());
    ASSERT_TRUE(resetting->synchronize());
    EXPECT_EQ(UserDefaults::atFile(file, kDomain)->integerForKey("kRatingPromptUseCount"), 1);
}

TEST_F(FileStore, CountsThatFailedToSaveAreSavedWithTheNextOnes) {
    writeFile(file, "{\"chordsSearched\": 5}");
    auto store = UserDefaults::atFile(file, kDomain);
    store->incrementIntegerForKey("chordsSearched");
    fs::path inTheWay = file;
    inTheWay += ".tmp";
    fs::create_directory(inTheWay);
    EXPECT_FALSE(store->synchronize());
    fs::remove(inTheWay);
    writeFile(file, "{\"chordsSearched\": 20}");  // another run counted meanwhile
    store->incrementIntegerForKey("chordsSearched");
    ASSERT_TRUE(store->synchronize());
    EXPECT_EQ(UserDefaults::atFile(file, kDomain)->integerForKey("chordsSearched"), 22);
}

TEST_F(FileStore, ACountAtTheLargestNumberStaysThereOrWrapsAsAsked) {
    constexpr int64_t kLargest = std::numeric_limits<int64_t>::max();
    const struct {
        UserDefaults::Overflow overflow;
        int64_t expected;
    } cases[] = {{UserDefaults::Overflow::Stay, kLargest},
                 {UserDefaults::Overflow::Wrap, std::numeric_limits<int64_t>::min() + 1}};
    for (const auto& c : cases) {
        writeFile(file, "{\"numberOfRuns\": 0}");
        auto store = UserDefaults::atFile(file, kDomain);
        store->incrementIntegerForKey("numberOfRuns", c.overflow);
        store->incrementIntegerForKey("numberOfRuns", c.overflow);
        // Another run has stored the largest number meanwhile: the two counts go on from there.
        writeFile(file, "{\"numberOfRuns\": " + std::to_string(kLargest) + "}");
        ASSERT_TRUE(store->synchronize());
        EXPECT_EQ(UserDefaults::atFile(file, kDomain)->integerForKey("numberOfRuns"), c.expected);
    }
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

}  // namespace
