#include "platform/audio/desktop/RecordingInput.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/audio/AudioQueue.h"
#include "platform/core/RunLoop.h"
#include "platform/audio/desktop/RecordingDecoder.h"

namespace platform::media {
namespace {

// How far the recording moves on at a time while no buffer is in line to hear it.
constexpr uint32_t kUnheardStep = 1024;

class RecordingQueue final : public AudioQueue {
public:
    RecordingQueue(std::vector<int16_t> samples, const AudioStreamBasicDescription& format,
                   AudioQueueInputCallback callback, void* userData)
        : AudioQueue(format, callback, userData), samples_(std::move(samples)) {}
    ~RecordingQueue() override { dispose(); }

private:
    // Everything below runs on the main thread, the run loop's.
    AudioStatus startCapture() override {
        startDate_ = RunLoop::main().now();
        startPosition_ = position_;
        alive_ = std::make_shared<RecordingQueue*>(this);
        scheduleNextHandOver();
        return kAudioNoError;
    }

    // Hand-overs already scheduled find the token gone and do nothing.
    void stopCapture() override { alive_.reset(); }

    void scheduleNextHandOver() {
        uint32_t count = samplesUntilHandOver();
        if (count == 0) count = kUnheardStep;
        const double due = startDate_ + static_cast<double>(position_ - startPosition_ + count) / format().mSampleRate;
        RunLoop& loop = RunLoop::main();
        loop.performAfterDelay(due - loop.now(), [token = std::weak_ptr<RecordingQueue*>(alive_), count] {
            if (const auto queue = token.lock()) (*queue)->handOver(count);
        });
    }

    void handOver(uint32_t count) {
        std::vector<int16_t> chunk(count, 0);
        if (position_ < samples_.size()) {
            const size_t available = std::min<size_t>(count, samples_.size() - position_);
            std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(position_), available, chunk.begin());
        }
        position_ += count;
        deliver(std::move(chunk));
        // The callback has run before the loop goes on, so a timer due at the
        // same moment already sees this buffer.
        waitUntilDelivered();
        scheduleNextHandOver();
    }

    const std::vector<int16_t> samples_;
    size_t position_ = 0;
    size_t startPosition_ = 0;
    double startDate_ = 0.0;
    std::shared_ptr<RecordingQueue*> alive_;
};

}  // namespace

bool installRecordingInput(const std::filesystem::path& path, std::string& error) {
    auto recording = readMonoRecording(path, error);
    if (!recording) return false;
    auto shared = std::make_shared<const MonoRecording>(std::move(*recording));
    AudioQueue::setInputFactory([shared, path](const AudioStreamBasicDescription& format, AudioQueueInputCallback callback,
                                         void* userData) -> std::unique_ptr<AudioQueue> {
        std::string conversionError;
        auto samples = captureSamples(*shared, format.mSampleRate, conversionError);
        if (!samples) {
            std::fprintf(stderr, "pallqa-tuner: %s: %s\n", path.c_str(), conversionError.c_str());
            return nullptr;
        }
        return std::make_unique<RecordingQueue>(std::move(*samples), format, callback, userData);
    });
    return true;
}

}  // namespace platform::media
