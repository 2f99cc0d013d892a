#include "platform/audio/desktop/RecordingInput.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

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

// On a real clock the recording is paced by a thread of its own, which sleeps
// until each piece is due and puts it into the buffers itself, as a
// microphone's thread would: the main thread never wakes for it. On a virtual
// clock the main run loop paces it, so that its timers see exactly what they
// would in real time.
class RecordingQueue final : public AudioQueue {
public:
    RecordingQueue(std::shared_ptr<RecordingReader> reader, const AudioStreamBasicDescription& format,
                   AudioQueueInputCallback callback, void* userData)
        : AudioQueue(format, callback, userData), reader_(std::move(reader)) {}
    ~RecordingQueue() override { dispose(); }

private:
    // Main thread.
    AudioStatus startCapture() override {
        const auto loop = RunLoop::main();
        startDate_ = loop->now();
        startPosition_ = position_;
        if (loop->isVirtual()) {
            alive_ = std::make_shared<RecordingQueue*>(this);
            scheduleHandOver(nextCount());
            return kAudioNoError;
        }
        {
            const std::lock_guard lock(pacingMutex_);
            pacing_ = true;
        }
        pacer_ = std::thread([this, loop] { pace(*loop); });
        return kAudioNoError;
    }

    // Main thread. Hand-overs already scheduled find the token gone and do
    // nothing; the pacing thread has ended when this returns.
    void stopCapture() override {
        alive_.reset();
        if (!pacer_.joinable()) return;
        {
            const std::lock_guard lock(pacingMutex_);
            pacing_ = false;
        }
        pacingStopped_.notify_all();
        pacer_.join();
    }

    // The thread that paces the recording, while capture runs (and the main
    // thread before it starts or after it stops): the next piece's length.
    uint32_t nextCount() const {
        const uint32_t untilHandOver = samplesUntilHandOver();
        return untilHandOver == 0 ? kPieceSamples : std::min(untilHandOver, kPieceSamples);
    }

    // When a piece of `count` samples is due: once its last sample has been heard.
    double timeOfHandOver(uint32_t count) const {
        return startDate_ + static_cast<double>(position_ - startPosition_ + count) / format().mSampleRate;
    }

    // The next `count` samples, or fewer: after its end the recording is
    // silence; before, only what has been read is heard, and the recording
    // goes on from there when more comes, its clock started again at `now`.
    // Empty when nothing has been read yet.
    std::vector<int16_t> takePiece(uint32_t count, double now) {
        std::vector<int16_t> piece(count, 0);
        const size_t taken = reader_->take(piece);
        if (taken < count && !reader_->finished()) {
            startDate_ = now;
            startPosition_ = position_ + taken;
            piece.resize(taken);
        }
        position_ += piece.size();
        return piece;
    }

    // The pacing thread, on a real clock.
    void pace(const RunLoop& loop) {
        uint32_t count = nextCount();
        double due = timeOfHandOver(count);
        while (sleepUntil(loop, due)) {
            const std::vector<int16_t> piece = takePiece(count, loop.now());
            if (piece.empty()) {
                due = loop.now() + kWaitingStep;
                continue;
            }
            // Put into the buffers before the next piece is sized: its length
            // depends on how full the buffer being filled is.
            deliverHere(piece);
            count = nextCount();
            due = timeOfHandOver(count);
        }
    }

    // The pacing thread: false when capture stops before `date`.
    bool sleepUntil(const RunLoop& loop, double date) {
        const auto wait = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(date - loop.now()));
        std::unique_lock lock(pacingMutex_);
        return !pacingStopped_.wait_until(lock, std::chrono::steady_clock::now() + wait, [this] { return !pacing_; });
    }

    // The main thread, on a virtual clock.
    void scheduleHandOver(uint32_t count) { scheduleHandOver(count, timeOfHandOver(count)); }

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
        reader_->waitFor(count, loop->wallClockLimit());
        std::vector<int16_t> piece = takePiece(count, loop->now());
        if (piece.empty()) {
            scheduleHandOver(count, loop->now() + kWaitingStep);
            return;
        }
        deliver(std::move(piece));
        // The callback has run before the loop goes on, so a timer due at the
        // same moment already sees this buffer; and the next piece is sized
        // by the buffer as this one left it.
        waitUntilDelivered();
        scheduleHandOver(nextCount());
    }

    const std::shared_ptr<RecordingReader> reader_;
    size_t position_ = 0;
    size_t startPosition_ = 0;
    double startDate_ = 0.0;
    std::shared_ptr<RecordingQueue*> alive_;

    std::mutex pacingMutex_;
    std::condition_variable pacingStopped_;
    bool pacing_ = false;  // guarded by pacingMutex_
    std::thread pacer_;
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
