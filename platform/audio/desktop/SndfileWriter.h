#pragma once
// The desktop's sound-file writer: 16-bit PCM WAV through libsndfile, written
// to a temporary file beside the target ("<target>.tmp-<pid>-<n>"), flushed
// and renamed over the target by finish(); the temporary file is removed when
// anything fails or the writer is dropped unfinished.

#include <memory>

#include "platform/audio/SoundFileWriter.h"

namespace platform::audio::desktop {

// A platform::SoundFileWriterFactory.
std::unique_ptr<SoundFileWriter> makeSndfileWavWriter(const std::filesystem::path& path, uint32_t sampleRate,
                                                      uint16_t channels, std::string& error);

}  // namespace platform::audio::desktop
