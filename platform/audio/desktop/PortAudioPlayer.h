#pragma once
// Sound-file players that decode with libsndfile (WAV, MP3 and whatever else
// it reads) and play on a PortAudio stream of their own on the default output
// device. Install with
// `platform::AudioPlayer::setFactory(platform::audio::desktop::makePortAudioPlayer)`.

#include <filesystem>
#include <memory>

#include "platform/audio/AudioPlayer.h"

namespace platform::audio::desktop {

// A player of `file`, decoded whole into memory; null when libsndfile cannot
// read it or it holds no sound. Each sound gets a stream of its own, so a
// device that went away and came back plays again; the main run loop closes
// it once the sound has ended. Without an output device
// the player plays nothing and the run is told once (OutputUnavailable.h).
std::unique_ptr<AudioPlayer> makePortAudioPlayer(const std::filesystem::path& file);

}  // namespace platform::audio::desktop
