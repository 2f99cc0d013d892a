// A tiny program for the log's process tests: it opens the log as a run of
// the program does, says so, waits for the word to go, and writes one line.
//   log_helper FILE MAX_BYTES READY GO MESSAGE

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/core/SystemLog.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: log_helper FILE MAX_BYTES READY GO MESSAGE\n");
        return 2;
    }
    platform::SystemLog log({std::filesystem::path(argv[1]), nullptr, std::stoull(argv[2])});
    std::ofstream(argv[3]) << "";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(argv[4])) {
        if (std::chrono::steady_clock::now() > deadline) return 3;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    log.write(argv[5]);
    return 0;
}
