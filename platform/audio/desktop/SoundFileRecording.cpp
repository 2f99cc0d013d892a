#include "platform/audio/desktop/SoundFileRecording.h"

#include <algorithm>
#include <vector>

#include "platform/audio/desktop/RecordingDecoder.h"

namespace platform::media {
namespace {

// The whole recording, decoded and converted once, handed out in pieces.
class DecodedRecording final : public Recording {
public:
    explicit DecodedRecording(std::vector<int16_t> samples) : samples_(std::move(samples)) {}

    size_t read(std::span<int16_t> samples) override {
        const size_t count = std::min(samples.size(), samples_.size() - next_);
        std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(next_), count, samples.begin());
        next_ += count;
        return count;
    }

    const std::string& error() const override { return error_; }

private:
    std::vector<int16_t> samples_;
    size_t next_ = 0;
    std::string error_;
};

}  // namespace

std::unique_ptr<Recording> openSoundFileRecording(const std::filesystem::path& file, double sampleRate,
                                                  std::string& error) {
    const auto recording = readMonoRecording(file, error);
    auto samples = recording ? captureSamples(*recording, sampleRate, error) : std::nullopt;
    if (!samples) return nullptr;
    return std::make_unique<DecodedRecording>(std::move(*samples));
}

}  // namespace platform::media
