#include "platform/audio/desktop/RecordingDecoder.h"

#include <sndfile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

#include "platform/audio/desktop/SampleRateConverter.h"

namespace platform::media {
namespace {

// Frames read from the file at a time.
constexpr sf_count_t kFramesPerRead = 8192;

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// Why `path` cannot be opened as a file at all, or nothing when it can.
std::optional<std::string> unopenableReason(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) return "no such file";
    if (std::filesystem::is_directory(status)) return "is a directory";
    std::ifstream probe(path, std::ios::binary);
    if (!probe) return std::string("cannot be read (") + std::strerror(errno) + ")";
    if (probe.peek() == std::ifstream::traits_type::eof()) return "is empty";
    return std::nullopt;
}

std::string hertz(double rate) {
    char text[64];
    std::snprintf(text, sizeof text, "%g Hz", rate);
    return text;
}

}  // namespace

std::optional<MonoRecording> readMonoRecording(const std::filesystem::path& path, std::string& error) {
    if (auto reason = unopenableReason(path)) {
        error = *reason;
        return std::nullopt;
    }
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SoundFileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        error = std::string("is not a sound file (") + sf_strerror(nullptr) + ")";
        return std::nullopt;
    }
    if (info.channels <= 0 || !(info.samplerate > 0)) {
        error = "is not a sound file (no channels or no sample rate)";
        return std::nullopt;
    }
    const auto channels = static_cast<size_t>(info.channels);
    MonoRecording recording;
    recording.sampleRate = info.samplerate;
    std::vector<float> frames(static_cast<size_t>(kFramesPerRead) * channels);
    // Read until the file gives nothing more: the header's frame count may
    // promise more than a truncated file holds.
    for (;;) {
        const sf_count_t got = sf_readf_float(file.get(), frames.data(), kFramesPerRead);
        if (got <= 0) break;
        for (sf_count_t frame = 0; frame < got; ++frame) {
            const float* first = frames.data() + static_cast<size_t>(frame) * channels;
            float sum = 0.0f;
            for (size_t channel = 0; channel < channels; ++channel) sum += first[channel];
            recording.samples.push_back(sum / static_cast<float>(channels));
        }
    }
    if (recording.samples.empty()) {
        error = "holds no sound";
        return std::nullopt;
    }
    return recording;
}

std::optional<std::vector<int16_t>> captureSamples(const MonoRecording& recording, double sampleRate,
                                                   std::string& error) {
    if (!SampleRateConverter::canConvert(recording.sampleRate, sampleRate)) {
        error = "has a sample rate of " + hertz(recording.sampleRate) + ", which cannot be converted to " +
                hertz(sampleRate);
        return std::nullopt;
    }
    SampleRateConverter converter(recording.sampleRate, sampleRate);
    std::vector<float> converted;
    if (!converter.process(recording.samples, /*last=*/true, converted)) {
        error = "could not be converted to " + hertz(sampleRate);
        return std::nullopt;
    }
    std::vector<int16_t> samples;
    appendSamples16(converted, samples);
    return samples;
}

}  // namespace platform::media
