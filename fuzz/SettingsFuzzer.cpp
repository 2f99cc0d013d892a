// The settings file parser: any bytes as the settings file must give a store
// (empty when the file is damaged) that reads, changes and saves.

#include <cstdint>
#include <filesystem>

#include "fuzz/FuzzFiles.h"
#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto quiet = platform::setLogSink([](const std::string&) {});
    const auto folder = fuzzing::privateFolder() / "settings";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto path = fuzzing::inputFile("settings/com.example.fuzz.json", data, size);
    auto store = platform::UserDefaults::atFile(path, "com.example.fuzz");
    for (const auto& [key, value] : store->dictionaryRepresentation()) {
        store->boolForKey(key);
        store->integerForKey(key);
        store->floatForKey(key);
        store->stringForKey(key);
    }
    store->incrementIntegerForKey("numberOfRuns");
    store->synchronize();
    return 0;
}
