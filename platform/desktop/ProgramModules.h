#pragma once
// The program's modules (cmake/Modules.cmake): the parts only some runs need,
// loaded from the program's own library folder when first asked for and kept
// for the rest of the run. The folder is the `modules` link beside the
// program in its build tree, else lib/pallqa-tuner under its prefix.

#include <filesystem>
#include <string>

namespace platform::desktop {

// One module and the one name the program looks up in it.
struct ProgramModule {
    const char* file;   // "qt-window.so"
    const char* entry;  // its entry point's name
};

// A module's entry point, or why there is none.
struct ModuleEntry {
    void* address = nullptr;
    // The module's file is not there at all (rather than unfit to load).
    bool missing = false;
    // The file looked for, and what went wrong with it.
    std::string path;
    std::string reason;
};

// The folder the modules are loaded from.
std::filesystem::path moduleFolder();

// The module's entry point, the module loaded now if it is not yet. Any thread.
ModuleEntry moduleEntry(const ProgramModule& module);

}  // namespace platform::desktop
