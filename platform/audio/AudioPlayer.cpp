#include "platform/audio/AudioPlayer.h"

#include "platform/audio/PlainAudioPlayer.h"
#include "platform/audio/PlaybackObserver.h"

namespace platform {
namespace {

AudioPlayer::Factory& installedFactory() {
    static AudioPlayer::Factory factory;
    return factory;
}

}  // namespace

std::unique_ptr<AudioPlayer> AudioPlayer::withContentsOfFile(const std::filesystem::path& file) {
    if (const auto& factory = installedFactory()) return factory(file);
    return PlainAudioPlayer::withContentsOfFile(file);
}

void AudioPlayer::setFactory(Factory factory) { installedFactory() = std::move(factory); }

void AudioPlayer::play() {
    if (isPlaying()) return;
    startSound();
    notifySoundStarted(file_.filename().string());
}

}  // namespace platform
