#pragma once
// The program's modules (cmake/Modules.cmake): the parts only some runs need,
// loaded from the program's own library folder when first asked for and kept
// for the rest of the run. The folder is the `modules` link beside the
// program in its build tree, else lib/pallqa-tuner under its prefix.

#include <filesystem>
#include <string>

namespace platform::desktop {

// The folder the modules are loaded from.
std::filesystem::path moduleFolder();

// The entry point `entry` of the module `file` ("qt-window.so"), loaded now
// if it is not yet; null with `error` saying which file is missing or why it
// cannot be loaded. Any thread.
void* moduleEntry(const std::string& file, const char* entry, std::string& error);

}  // namespace platform::desktop
