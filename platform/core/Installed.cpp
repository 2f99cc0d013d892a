#include "platform/core/Installed.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

struct SignedIn {
    void* slot;
    void (*reset)(void* slot);
};

struct Register {
    std::mutex mutex;
    std::vector<SignedIn> slots;
};

// Never destroyed: slots that outlive it at exit still sign out.
Register& signedIn() {
    static Register& instance = *new Register;
    return instance;
}

}  // namespace

namespace detail {

void signIn(void* slot, void (*reset)(void* slot)) {
    auto& r = signedIn();
    std::lock_guard lock(r.mutex);
    r.slots.push_back({slot, reset});
}

void signOut(void* slot) {
    auto& r = signedIn();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.slots, [slot](const SignedIn& s) { return s.slot == slot; });
}

bool isSignedIn(const void* slot) {
    auto& r = signedIn();
    std::lock_guard lock(r.mutex);
    return std::any_of(r.slots.begin(), r.slots.end(), [slot](const SignedIn& s) { return s.slot == slot; });
}

}  // namespace detail

void resetInstalledServices() {
    std::vector<SignedIn> slots;
    {
        auto& r = signedIn();
        std::lock_guard lock(r.mutex);
        slots = r.slots;
    }
    // Outside the register's lock: a value released here may make a slot that
    // signs in. The newest slots first, as static objects are torn down.
    for (auto it = slots.rbegin(); it != slots.rend(); ++it) it->reset(it->slot);
}

}  // namespace platform
