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

ModuleEntry moduleEntry(const ProgramModule& module) {
    // Loaded once each and never unloaded: what a module made lives on in
    // the program until it ends.
    static std::mutex mutex;
    static std::map<std::string, void*>& loaded = *new std::map<std::string, void*>;
    std::lock_guard lock(mutex);
    ModuleEntry found;
    found.path = (moduleFolder() / module.file).string();
    void*& handle = loaded[module.file];
    if (handle == nullptr) {
        std::error_code ec;
        if (!fs::is_regular_file(found.path, ec)) {
            found.missing = true;
            found.reason = found.path + " is not there";
            return found;
        }
        // Every symbol resolved now, so that a module that does not fit the
        // program fails here, with its reason, rather than midway through a run.
        handle = ::dlopen(found.path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            found.reason = ::dlerror();
            return found;
        }
    }
    found.address = ::dlsym(handle, module.entry);
    if (found.address == nullptr) found.reason = found.path + " has no entry point " + module.entry;
    return found;
}

}  // namespace platform::desktop
