#include "platform/audio/AudioPlayer.h"

#include "platform/audio/PlainAudioPlayer.h"
#include "platform/audio/PlaybackObserver.h"
#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<AudioPlayer::Factory>& installedFactory() {
    static Installed<AudioPlayer::Factory> factory;
    return factory;
}

}  // namespace

std::unique_ptr<AudioPlayer> AudioPlayer::withContentsOfFile(const std::filesystem::path& file) {
    if (const auto factory = installedFactory().get()) return factory(file);
    return PlainAudioPlayer::withContentsOfFile(file);
}

void AudioPlayer::setFactory(Factory factory) { installedFactory().install(std::move(factory)); }

void AudioPlayer::play() {
    if (isPlaying()) return;
    startSound();
    notifySoundStarted(file_.filename().string());
}

}  // namespace platform
