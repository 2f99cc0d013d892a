// A tiny program for the settings store's process tests: it opens a store and
// runs the steps named on its command line, one after another.
//   store_helper FILE STEP...
//   open | inc KEY | count KEY | set KEY NUMBER | sync | touch PATH | wait PATH | hammer
// "inc" reads, adds one and sets; "count" counts with the store's increment.
// "hammer" saves without end (for the kill test): a counter and a long text.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/store/UserDefaults.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: store_helper FILE STEP...\n");
        return 2;
    }
    const std::filesystem::path file = argv[1];
    std::shared_ptr<platform::UserDefaults> store;
    for (int i = 2; i < argc; ++i) {
        const std::string step = argv[i];
        const auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "store_helper: %s needs an argument\n", step.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (step == "open") {
            store = platform::UserDefaults::atFile(file, "com.example.tests");
        } else if (step == "inc") {
            const std::string key = next();
            store->setInteger(store->integerForKey(key) + 1, key);
        } else if (step == "count") {
            store->incrementIntegerForKey(next());
        } else if (step == "set") {
            const std::string key = next();
            store->setInteger(std::stoll(next()), key);
        } else if (step == "sync") {
            if (!store->synchronize()) return 1;
        } else if (step == "touch") {
            std::ofstream(next()) << "";
        } else if (step == "wait") {
            const std::string path = next();
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!std::filesystem::exists(path)) {
                if (std::chrono::steady_clock::now() > deadline) return 3;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        } else if (step == "hammer") {
            const std::string text(4000, 'x');
            for (int64_t n = 0;; ++n) {
                store->setInteger(store->integerForKey("numberOfRuns") + 1, "numberOfRuns");
                store->setObject(text + std::to_string(n), "text");
                store->synchronize();
            }
        } else {
            std::fprintf(stderr, "store_helper: unknown step %s\n", step.c_str());
            return 2;
        }
    }
    return 0;
}
