#pragma once
// A private PulseAudio server for tests of the live audio path: a null sink as
// the loudspeaker ("speaker", heard at "speaker.monitor") and a microphone
// ("microphone") that hears whatever is played into the sink
// "microphone_feed". While it lives, this process and every program it starts
// reach that server and no other (PortAudio through ALSA's pulse plugin).
//
// Outside CI a machine that cannot start the server skips the test with a
// message saying why; under CI (CI=true) the test fails instead, so the live
// tests can never silently stop running there.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace testing_support {

class SoundServer {
public:
    // Starts a server whose microphone runs at `sampleRate`; null with `error`
    // saying why when it cannot.
    static std::unique_ptr<SoundServer> start(int sampleRate, std::string& error);
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Ends the server at once, as a crash or a user's `pulseaudio -k` would.
    void kill();
    // Starts it again on the same socket; false when it does not come up.
    bool restart();

    const std::filesystem::path& folder() const { return folder_; }

private:
    SoundServer(std::filesystem::path folder, int sampleRate);
    bool run(const std::string& verb, std::string& output) const;

    const std::filesystem::path folder_;
    const int sampleRate_;
};

// In a test's body or SetUp: `server` set, or the test skipped (failed under CI).
#define PALLQA_REQUIRE_SOUND_SERVER(server, sampleRate)                                                  \
    do {                                                                                                 \
        std::string soundServerError;                                                                    \
        (server) = ::testing_support::SoundServer::start((sampleRate), soundServerError);                \
        if (!(server)) {                                                                                 \
            if (::testing_support::runningUnderCi()) FAIL() << soundServerError;                        \
            GTEST_SKIP() << "no private sound server on this machine, so the live audio is untested: " \
                         << soundServerError;                                                            \
        }                                                                                                \
    } while (false)

// Whether CI=true.
bool runningUnderCi();

}  // namespace testing_support
