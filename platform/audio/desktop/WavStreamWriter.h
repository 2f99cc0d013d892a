#pragma once
// A 16-bit PCM WAV written straight to something that is not a regular file
// (a pipe, a FIFO, a terminal, /dev/null), front to back: libsndfile will not
// write WAV where it cannot go back to fill in the sizes, but here the number
// of frames is known before the first is written, so the header states it
// from the start. Anything more or less than that many frames is a failure.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/SoundFileWriter.h"

namespace platform::audio::desktop {

// Writes the header to `fd` (which the writer then owns) and answers the
// writer; null with `error` when even the header cannot be written.
std::unique_ptr<SoundFileWriter> makeWavStreamWriter(int fd, const std::string& target, uint32_t sampleRate,
                                                     uint16_t channels, uint64_t frames, std::string& error);

}  // namespace platform::audio::desktop
