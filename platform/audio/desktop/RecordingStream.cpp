#include "platform/audio/desktop/RecordingStream.h"

#include <algorithm>

#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {

std::unique_ptr<RecordingStream> RecordingStream::open(const std::filesystem::path& path, double rate,
                                                       std::string& error) {
    std::shared_ptr<RecordingDecoder> decoder = RecordingDecoder::open(path, error);
    if (!decoder) return nullptr;
    return convert(std::move(decoder), rate, error);
}

std::unique_ptr<RecordingStream> RecordingStream::convert(std::shared_ptr<RecordingDecoder> decoder, double rate,
                                                          std::string& error) {
    if (!SampleRateConverter::canConvert(decoder->sampleRate(), rate)) {
        error = terminalText("has a sample rate of %g Hz, which cannot be converted to %g Hz", decoder->sampleRate(), rate);
        return nullptr;
    }
    return std::unique_ptr<RecordingStream>(new RecordingStream(std::move(decoder), rate));
}

RecordingStream::RecordingStream(std::shared_ptr<RecordingDecoder> decoder, double rate)
    : decoder_(std::move(decoder)), rate_(rate), converter_(decoder_->sampleRate(), rate) {}

size_t RecordingStream::read(std::span<int16_t> samples) {
    size_t filled = 0;
    while (filled < samples.size()) {
        if (readyFrom_ == ready_.size() && !convertNextPiece()) break;
        const size_t count = std::min(samples.size() - filled, ready_.size() - readyFrom_);
        std::copy_n(ready_.begin() + static_cast<std::ptrdiff_t>(readyFrom_), count, samples.begin() + static_cast<std::ptrdiff_t>(filled));
        readyFrom_ += count;
        filled += count;
    }
    return filled;
}

bool RecordingStream::rewind() {
    if (!decoder_->rewind()) return false;
    converter_.reset();
    ready_.clear();
    readyFrom_ = 0;
    ended_ = false;
    error_.clear();
    return true;
}

bool RecordingStream::convertNextPiece() {
    ready_.clear();
    readyFrom_ = 0;
    // A piece may convert to nothing yet (the converter holds a little back),
    // so go on until something comes out or the recording has ended.
    while (ready_.empty() && !ended_) {
        decoder_->read(piece_);
        ended_ = piece_.empty();
        converted_.clear();
        if (!converter_.process(piece_, ended_, converted_)) {
            error_ = terminalText("could not be converted to %g Hz", rate_);
            ended_ = true;
        }
        appendSamples16(converted_, ready_);
    }
    return !ready_.empty();
}

}  // namespace platform::audio::desktop
