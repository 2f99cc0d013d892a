#include "platform/audio/desktop/SoundFileRecording.h"

#include "platform/audio/desktop/RecordingStream.h"

namespace platform::media {

std::unique_ptr<Recording> openSoundFileRecording(const std::filesystem::path& file, double sampleRate,
                                                  std::string& error) {
    return RecordingStream::open(file, sampleRate, error);
}

}  // namespace platform::media
