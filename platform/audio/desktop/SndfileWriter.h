#pragma once
// The desktop's sound-file writer: 16-bit PCM WAV through libsndfile, written
// to a temporary file beside the target ("<target>.tmp-<pid>-<n>"), flushed
// and renamed over the target by finish(); the temporary file is removed when
// anything fails, the writer is dropped unfinished or the program is stopped
// by a signal, and the ones of processes killed outright are removed by the
// next writer of the same target. A link is followed: its target is replaced.
// Only a regular file is ever replaced: a pipe, a FIFO or a character device
// (/dev/stdout, /dev/null) gets the WAV written straight to it, and a folder,
// a block device or a socket is refused.

#include <memory>

#include "platform/audio/SoundFileWriter.h"

namespace platform::audio::desktop {

// A platform::SoundFileWriterFactory.
std::unique_ptr<SoundFileWriter> makeSndfileWavWriter(const std::filesystem::path& path, uint32_t sampleRate,
                                                      uint16_t channels, uint64_t frames, std::string& error);

}  // namespace platform::audio::desktop
