#pragma once
// The desktop's recording opener: any file libsndfile reads, as a Recording.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/audio/Recording.h"

namespace platform::media {

std::unique_ptr<Recording> openSoundFileRecording(const std::filesystem::path& file, double sampleRate,
                                                  std::string& error);

}  // namespace platform::media
