#include "platform/audio/AudioInputTap.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

// The slot's lock is held while the block runs, so that installing a tap
// waits for a call into the one it replaces.
Installed<AudioInputTap>& installedTap() {
    static Installed<AudioInputTap> tap;
    return tap;
}

}  // namespace

void installAudioInputTap(AudioInputTap tap) { installedTap().install(tap); }

void tapAudioInput(std::span<const int16_t> samples) {
    installedTap().with([samples](const AudioInputTap& tap) {
        if (tap.block != nullptr) tap.block(tap.userData, samples);
    });
}

}  // namespace platform
