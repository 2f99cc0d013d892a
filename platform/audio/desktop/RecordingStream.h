#pragma once
// A recording as capture samples, made as they are asked for: decoded a piece
// at a time, mixed down to one channel, converted to the capture rate and to
// signed 16-bit samples. What is held at any time is a piece or two, whatever
// the recording's length.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/audio/Recording.h"
#include "platform/audio/desktop/RecordingDecoder.h"
#include "platform/audio/desktop/SampleRateConverter.h"

namespace platform::audio::desktop {

class RecordingStream final : public Recording {
public:
    // The recording at `path` at `rate`; null (with `error`) when it holds no
    // readable sound or its rate cannot be converted to `rate`.
    static std::unique_ptr<RecordingStream> open(const std::filesystem::path& path, double rate, std::string& error);
    // The same from a recording already opened, which the stream shares.
    static std::unique_ptr<RecordingStream> convert(std::shared_ptr<RecordingDecoder> decoder, double rate,
                                                    std::string& error);

    // The length the recording's header states, when it states one.
    std::optional<double> seconds() const { return decoder_->seconds(); }

    // Fills `samples` from the front with what follows; answers how many:
    // fewer than asked only at the end of the recording.
    size_t read(std::span<int16_t> samples) override;
    // Set when the converter failed, which ends the recording there.
    const std::string& error() const override { return error_; }
    std::string shortfall() const override { return decoder_->shortfall(); }
    // Back to the first sample; false (and the stream goes on where it was)
    // when the recording comes through a pipe.
    bool rewind();

private:
    RecordingStream(std::shared_ptr<RecordingDecoder> decoder, double rate);
    // Converts the next piece into `ready_`; false at the end.
    bool convertNextPiece();

    const std::shared_ptr<RecordingDecoder> decoder_;
    const double rate_;
    SampleRateConverter converter_;
    std::vector<float> piece_;
    std::vector<float> converted_;
    std::vector<int16_t> ready_;
    size_t readyFrom_ = 0;
    bool ended_ = false;
    std::string error_;
};

}  // namespace platform::audio::desktop
