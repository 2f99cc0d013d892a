#include "app/ProgramGuard.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

namespace app {
namespace {

// What went wrong, in the user's words as far as they go.
std::string describe(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an unknown error";
    }
    return "an unknown error";
}

void report(const std::string& what) {
    std::fprintf(stderr, "pallqa-tuner: unexpected error: %s; stopping\n", what.c_str());
    std::fflush(stderr);
}

// An exception that ends a thread, or escapes where none may.
[[noreturn]] void terminateClearly() {
    report(describe(std::current_exception()));
    std::_Exit(1);
}

}  // namespace

int runGuarded(const std::function<int()>& body) {
    std::set_terminate(terminateClearly);
    try {
        return body();
    } catch (...) {
        report(describe(std::current_exception()));
        return 1;
    }
}

}  // namespace app
