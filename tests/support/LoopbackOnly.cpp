// Every test program, and every program a test starts, sends the rating
// prompt's network test to a closed port on this machine, whatever the
// developer's environment says; a test that needs another address sets it
// for its own duration.

#include <cstdlib>

namespace {

const bool kNetworkTestStaysOnThisMachine = [] {
    ::setenv("PALLQA_NETWORK_TEST_URL", "http://127.0.0.1:9/", 1);
    return true;
}();

}  // namespace
