#include "platform/audio/desktop/SoundFileRecording.h"

#include "platform/audio/desktop/RecordingStream.h"

namespace platform::audio::desktop {

std::unique_ptr<Recording> openSoundFileRecording(const std::filesystem::path& file, double sampleRate,
                                                  std::string& error) {
    return RecordingStream::open(file, sampleRate, error);
}

}  // namespace platform::audio::desktop
