#include "platform/audio/MicrophoneChoice.h"

namespace platform {
namespace {

MicrophoneChoice& slot() {
    static MicrophoneChoice installed;
    return installed;
}

}  // namespace

void setMicrophoneChoice(MicrophoneChoice choice) { slot() = std::move(choice); }

const MicrophoneChoice& microphoneChoice() { return slot(); }

}  // namespace platform
