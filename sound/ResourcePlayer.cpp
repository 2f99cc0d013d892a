#include "sound/ResourcePlayer.h"

#include "platform/core/Bundle.h"

namespace sound {

std::unique_ptr<platform::AudioPlayer> playerForResource(std::string_view fileName) {
    return platform::AudioPlayer::withContentsOfFile(platform::Bundle::mainBundle()->resourcePath() / fileName);
}

}  // namespace sound
