#pragma once
// The desktop's recording opener: any file libsndfile reads, from a path or
// through a pipe, as a Recording read in pieces (see RecordingStream).

#include <filesystem>
#include <memory>
#include <string>

#include "platform/audio/Recording.h"

namespace platform::audio::desktop {

std::unique_ptr<Recording> openSoundFileRecording(const std::filesystem::path& file, double sampleRate,
                                                  std::string& error);

}  // namespace platform::audio::desktop
