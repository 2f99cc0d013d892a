#pragma once
// A private folder per fuzzing process, for the targets whose function reads
// a file rather than bytes.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fuzzing {

inline const std::filesystem::path& privateFolder() {
    static const std::filesystem::path folder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "pallqa-fuzz-XXXXXX").string();
        if (!::mkdtemp(name.data())) std::abort();
        return std::filesystem::path(name);
    }();
    return folder;
}

// Writes the input to `name` in the private folder and answers its path.
inline std::filesystem::path inputFile(const char* name, const uint8_t* data, size_t size) {
    const std::filesystem::path path = privateFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace fuzzing
