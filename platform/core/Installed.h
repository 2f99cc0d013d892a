#pragma once
// One process-wide value that a frontend or a test installs: the main run loop,
// the settings store, the bundle, the HTTP transport, the audio factories, the
// log sink, the observers and caches of the plain platform. Each is kept in an
// Installed<T>: a slot with its own lock that holds its default until something
// is installed, hands out copies, and goes back to its default on reset().
//
// Every slot signs itself in when it is made, so resetInstalledServices() puts
// the whole plain platform back as a fresh process has it, in one call.
//
// Any thread, but not from an audio callback: every access takes the slot's lock.

#include <mutex>
#include <optional>
#include <utility>

namespace platform {

// Puts every installed service of the process back to its default: what a test
// calls before and after it runs. Values taken out are released after their
// slot's lock, so a destructor may use other services.
void resetInstalledServices();

namespace detail {
// The list resetInstalledServices() walks; slots sign in when made and out when destroyed.
void signIn(void* slot, void (*reset)(void* slot));
void signOut(void* slot);
// Whether the slot at `slot` is on the list: a slot destroyed must not be.
bool isSignedIn(const void* slot);
}  // namespace detail

template <typename T>
class Installed {
public:
    // `makeDefault` gives the value until one is installed and again after each
    // reset; it runs at the first read, not when the slot is made.
    explicit Installed(T (*makeDefault)() = [] { return T{}; }) : makeDefault_(makeDefault) {
        detail::signIn(this, [](void* slot) { static_cast<Installed*>(slot)->reset(); });
    }
    ~Installed() { detail::signOut(this); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

    // A copy of the current value.
    T get() const {
        std::lock_guard lock(mutex_);
        return current();
    }

    // Installs `value`, whatever it is.
    void install(T value) {
        std::optional<T> previous(std::move(value));
        std::lock_guard lock(mutex_);
        previous.swap(value_);
    }

    // Installs `value`, or puts the default back when `value` is empty (a null
    // pointer, an empty function). Returns the value it replaces, which
    // installed again puts things back as they were: empty when the default
    // had not been made yet.
    T installOrDefault(T value) {
        std::optional<T> next;
        if (value) next.emplace(std::move(value));
        std::lock_guard lock(mutex_);
        next.swap(value_);
        return next ? std::move(*next) : T{};
    }

    // Back to the default, made afresh at the next read.
    void reset() {
        std::optional<T> previous;
        {
            std::lock_guard lock(mutex_);
            previous.swap(value_);
        }
    }

    // Calls `use` with the value under the slot's lock and returns what it
    // returns: for values changed in place, or used while no one may replace
    // them. `use` must not touch this slot again.
    template <typename Use>
    decltype(auto) with(Use&& use) {
        std::lock_guard lock(mutex_);
        return std::forward<Use>(use)(current());
    }

private:
    T& current() const {
        if (!value_) value_.emplace(makeDefault_());
        return *value_;
    }

    T (*const makeDefault_)();
    mutable std::mutex mutex_;
    mutable std::optional<T> value_;  // empty until first read after a reset
};

}  // namespace platform
