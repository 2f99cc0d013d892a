#include "platform/audio/desktop/RecordingInput.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "platform/audio/AudioQueue.h"
#include "platform/core/RunLoop.h"
#include "platform/audio/desktop/RecordingStream.h"

namespace platform::audio::desktop {
namespace {

// How far the recording moves on at a time while no buffer is in line to hear it.
constexpr uint32_t kUnheardStep = 1024;

class RecordingQueue final : public AudioQueue {
public:
    RecordingQueue(std::unique_ptr<RecordingStream> recording, const AudioStreamBasicDescription& format,
                   AudioQueueInputCallback callback, void* userData)
        : AudioQueue(format, callback, userData), recording_(std::move(recording)) {}
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
        recording_->read(chunk);
        position_ += count;
        deliver(std::move(chunk));
        // The callback has run before the loop goes on, so a timer due at the
        // same moment already sees this buffer.
        waitUntilDelivered();
        scheduleNextHandOver();
    }

    const std::unique_ptr<RecordingStream> recording_;
    size_t position_ = 0;
    size_t startPosition_ = 0;
    double startDate_ = 0.0;
    std::shared_ptr<RecordingQueue*> alive_;
};

}  // namespace

std::optional<InstalledRecording> installRecordingInput(const std::filesystem::path& path, std::string& error) {
    // Opened once: a pipe can be opened only once.
    std::shared_ptr<RecordingDecoder> decoder = RecordingDecoder::open(path, error);
    if (!decoder) return std::nullopt;
    InstalledRecording installed{decoder->seconds()};
    AudioQueue::setInputFactory([decoder, path](const AudioStreamBasicDescription& format, AudioQueueInputCallback callback,
                                         void* userData) -> std::unique_ptr<AudioQueue> {
        std::string conversionError;
        auto recording = RecordingStream::convert(decoder, format.mSampleRate, conversionError);
        if (!recording) {
            std::fprintf(stderr, "pallqa-tuner: %s: %s\n", path.c_str(), conversionError.c_str());
            return nullptr;
        }
        recording->rewind();
        return std::make_unique<RecordingQueue>(std::move(recording), format, callback, userData);
    });
    return installed;
}

}  // namespace platform::audio::desktop
