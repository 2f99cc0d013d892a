#include "platform/audio/desktop/RecordingInput.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/audio/AudioNotice.h"
#include "platform/audio/AudioQueue.h"
#include "platform/audio/desktop/RecordingReader.h"
#include "platform/audio/desktop/RecordingStream.h"
#include "platform/core/RunLoop.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

// The most the recording moves on at a time: about as much as a microphone
// delivers at once, so that a tap on the input hears it piece by piece. A
// buffer is still handed over when its last sample is due.
constexpr uint32_t kPieceSamples = 512;
// How soon a hand-over that found nothing read yet looks again.
constexpr double kWaitingStep = 0.01;

class RecordingQueue final : public AudioQueue {
public:
    RecordingQueue(std::shared_ptr<RecordingReader> reader, const AudioStreamBasicDescription& format,
                   AudioQueueInputCallback callback, void* userData)
        : AudioQueue(format, callback, userData), reader_(std::move(reader)) {}
    ~RecordingQueue() override { dispose(); }

private:
    // Everything below runs on the main thread, the run loop's.
    AudioStatus startCapture() override {
        startDate_ = RunLoop::main()->now();
        startPosition_ = position_;
        alive_ = std::make_shared<RecordingQueue*>(this);
        scheduleNextHandOver();
        return kAudioNoError;
    }

    // Hand-overs already scheduled find the token gone and do nothing.
    void stopCapture() override { alive_.reset(); }

    void scheduleNextHandOver() { scheduleHandOver(nextCount(), timeOfHandOver()); }

    uint32_t nextCount() const {
        const uint32_t untilHandOver = samplesUntilHandOver();
        return untilHandOver == 0 ? kPieceSamples : std::min(untilHandOver, kPieceSamples);
    }

    // When the next hand-over is due: once its last sample has been heard.
    double timeOfHandOver() const {
        return startDate_ + static_cast<double>(position_ - startPosition_ + nextCount()) / format().mSampleRate;
    }

    void scheduleHandOver(uint32_t count, double due) {
        const auto loop = RunLoop::main();
        loop->performAfterDelay(due - loop->now(), [token = std::weak_ptr<RecordingQueue*>(alive_), count] {
            if (const auto queue = token.lock()) (*queue)->handOver(count);
        });
    }

    void handOver(uint32_t count) {
        const auto loop = RunLoop::main();
        // A fast run's clock waits for the recording, but never past the time
        // the run has on the wall clock: a stalled pipe cannot hold it up longer.
        if (loop->isVirtual()) reader_->waitFor(count, loop->wallClockLimit());
        std::vector<int16_t> chunk(count, 0);
        const size_t taken = reader_->take(chunk);
        // After its end the recording is silence; before, only what has been
        // read is heard, and the recording goes on from there when more comes,
        // its clock started again.
        if (taken < count && !reader_->finished()) {
            startDate_ = loop->now();
            startPosition_ = position_ + taken;
            if (taken == 0) {
                scheduleHandOver(count, loop->now() + kWaitingStep);
                return;
            }
            chunk.resize(taken);
        }
        position_ += chunk.size();
        deliver(std::move(chunk));
        // The callback has run before the loop goes on, so a timer due at the
        // same moment already sees this buffer.
        waitUntilDelivered();
        scheduleNextHandOver();
    }

    const std::shared_ptr<RecordingReader> reader_;
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
    auto decoderUse = std::make_shared<std::mutex>();
    AudioQueue::setInputFactory([decoder, decoderUse, path](const AudioStreamBasicDescription& format,
                                                            AudioQueueInputCallback callback,
                                                            void* userData) -> std::unique_ptr<AudioQueue> {
        std::string conversionError;
        auto recording = RecordingStream::convert(decoder, format.mSampleRate, conversionError);
        if (!recording) {
            tellOnStderrAndInWindow(path.string() + ": " + conversionError);
            return nullptr;
        }
        auto reader = RecordingReader::start(std::move(recording), decoderUse, [path](const std::string& trouble) {
            if (!trouble.empty()) tellOnStderr(path.string() + ": " + trouble);
        });
        return std::make_unique<RecordingQueue>(std::move(reader), format, callback, userData);
    });
    return installed;
}

}  // namespace platform::audio::desktop
