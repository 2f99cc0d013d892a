#include "platform/desktop/ProgramModules.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "platform/core/ProgramFolder.h"

namespace platform::desktop {

namespace fs = std::filesystem;

fs::path moduleFolder() {
    const fs::path program = programFolder();
    const fs::path beside = program / "modules";
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside;
    return (program / PALLQA_MODULES_FROM_BINDIR).lexically_normal();
}

void* moduleEntry(const std::string& file, const char* entry, std::string& error) {
    // Loaded once each and never unloaded: what a module made lives on in
    // the program until it ends.
    static std::mutex mutex;
    static std::map<std::string, void*>& loaded = *new std::map<std::string, void*>;
    std::lock_guard lock(mutex);
    void*& module = loaded[file];
    if (module == nullptr) {
        const fs::path path = moduleFolder() / file;
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            error = "the program's module " + path.string() + " is missing";
            return nullptr;
        }
        // Every symbol resolved now, so that a module that does not fit the
        // program fails here, with its reason, rather than midway through a run.
        module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            error = "the program's module " + path.string() + " cannot be loaded: " + ::dlerror();
            return nullptr;
        }
    }
    void* address = ::dlsym(module, entry);
    if (address == nullptr) error = "the program's module " + file + " has no entry point " + entry;
    return address;
}

}  // namespace platform::desktop
