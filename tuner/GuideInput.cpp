#include "tuner/GuideInput.h"

#include "guide/GuideStream.h"
#include "pitch/PitchListener.h"
#include "platform/audio/AudioInputTap.h"
#include "tuner/TuningGuide.h"

namespace tuner {
namespace {

// The stream is made on the first listen(), so that no worker runs before the
// screen listens, and leaves the capture's tap before it goes.
class SharedStreamInput final : public GuideInput {
public:
    // Installing no tap makes the process's tap before this input, so that
    // the tap outlives it and is still there to leave when it goes.
    SharedStreamInput() { platform::installAudioInputTap({}); }
    ~SharedStreamInput() override {
        if (stream_) platform::installAudioInputTap({});
    }

    void listen() override {
        if (stream_) return;
        // Reading the strings of each course in pairs, as the commands do.
        stream_ = std::make_unique<guide::GuideStream>(pitch::kCaptureSampleRate, guideCourses());
        stream_->choose(chosen_);
        platform::installAudioInputTap({&guide::GuideStream::tapBlock, stream_.get()});
    }
    // Waits out the hop the worker may be reading (a fraction of a
    // millisecond), so that a tick sees every whole hop captured before it:
    // a recording played to the screen shows the same however the threads run.
    size_t takeReadings(std::span<guide::GuideReading> out) override {
        if (!stream_) return 0;
        stream_->waitUntilRead();
        return stream_->takeReadings(out);
    }
    double sampleRate() const override { return pitch::kCaptureSampleRate; }
    void choose(std::optional<int> course) override {
        chosen_ = course;
        if (stream_) stream_->choose(course);
    }

private:
    std::unique_ptr<guide::GuideStream> stream_;
    std::optional<int> chosen_;  // for a stream made later
};

}  // namespace

std::shared_ptr<GuideInput> GuideInput::sharedStream() {
    static const auto input = std::make_shared<SharedStreamInput>();
    return input;
}

}  // namespace tuner
