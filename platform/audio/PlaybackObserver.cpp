#include "platform/audio/PlaybackObserver.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<PlaybackObserver>& observerSlot() {
    static Installed<PlaybackObserver> observer;
    return observer;
}

}  // namespace

PlaybackObserver setPlaybackObserver(PlaybackObserver observer) {
    return observerSlot().installOrDefault(std::move(observer));
}

void notifySoundStarted(const std::string& fileName) {
    if (const PlaybackObserver observer = observerSlot().get()) observer(fileName);
}

}  // namespace platform
