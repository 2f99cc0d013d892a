#pragma once
// Writes a 16-bit PCM WAV file as its samples arrive: the header goes first
// with the sizes left open and is completed by finish().

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace platform {

class WavWriter {
public:
    // Creates (or truncates) `path` for `channels` interleaved channels at
    // `sampleRate` frames per second; null, with `error` saying why, when it
    // cannot be written.
    static std::unique_ptr<WavWriter> create(const std::filesystem::path& path, uint32_t sampleRate,
                                             uint16_t channels, std::string& error);

    // Appends interleaved samples, a whole number of frames. False once a write
    // has failed or the file would outgrow what a WAV file can describe.
    bool write(std::span<const int16_t> samples);
    // Fills in the header's sizes and closes the file; false when any write
    // failed or the file was finished already.
    bool finish();
    // Why the last failing call failed.
    const std::string& error() const { return error_; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    WavWriter(std::unique_ptr<std::FILE, FileCloser> file, std::filesystem::path path, uint16_t channels)
        : file_(std::move(file)), path_(std::move(path)), channels_(channels) {}
    bool fail(const std::string& what);

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::filesystem::path path_;
    uint16_t channels_;
    uint64_t dataBytes_ = 0;
    std::string error_;
};

}  // namespace platform
