#pragma once
// Sound files written as their samples arrive (16-bit PCM WAV), through the
// installed writer: the program's main installs the desktop's (libsndfile);
// with none installed a file cannot be written. A regular file appears whole
// or not at all: a writer writes a temporary file beside it and renames it
// over the target when finished, so a run killed mid-write leaves the old file
// as it was; a writer that fails, or is dropped unfinished, removes its
// temporary file. What is not a regular file (a pipe) is never replaced.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace platform {

class SoundFileWriter {
public:
    virtual ~SoundFileWriter() = default;
    // Appends interleaved samples, a whole number of frames. False once a
    // write has failed.
    virtual bool write(std::span<const int16_t> samples) = 0;
    // Completes the file and puts it in place of the target; false when any
    // write failed, the file was finished already or it cannot be put in place.
    virtual bool finish() = 0;
    // Why the last failing call failed.
    virtual const std::string& error() const = 0;
};

// Makes a writer of `frames` frames of `channels` interleaved channels at
// `sampleRate` frames per second for `path`; null, with `error` saying why,
// when it cannot.
using SoundFileWriterFactory =
    std::function<std::unique_ptr<SoundFileWriter>(const std::filesystem::path& path, uint32_t sampleRate,
                                                   uint16_t channels, uint64_t frames, std::string& error)>;

// A writer from the installed factory.
std::unique_ptr<SoundFileWriter> createSoundFileWriter(const std::filesystem::path& path, uint32_t sampleRate,
                                                       uint16_t channels, uint64_t frames, std::string& error);
void setSoundFileWriterFactory(SoundFileWriterFactory factory);

}  // namespace platform
