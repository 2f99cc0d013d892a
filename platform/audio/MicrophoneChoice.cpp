#include "platform/audio/MicrophoneChoice.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<MicrophoneChoice>& slot() {
    static Installed<MicrophoneChoice> installed;
    return installed;
}

}  // namespace

void setMicrophoneChoice(MicrophoneChoice choice) { slot().install(std::move(choice)); }

MicrophoneChoice microphoneChoice() { return slot().get(); }

}  // namespace platform
