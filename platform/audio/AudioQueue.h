#pragma once
// The audio input queue: the capture service as the pitch detector sees it.
//
// A queue fills the buffers its owner enqueues, one after another, with samples
// in the queue's format, and hands each full buffer to the owner's callback on
// a thread of the queue; a buffer is filled again only after the owner has
// enqueued it again. Samples that arrive while the queue is stopped, or while
// no buffer is enqueued, are lost, as they are with a microphone.
//
// Where the samples come from — a test, a recording, the microphone — is the
// business of the implementation that the installed input factory makes.
// The level meter reads the latest full buffer: average = RMS, peak = largest
// absolute sample, both divided by 32768. Each piece of samples a running
// queue takes in also reaches the installed input tap (AudioInputTap.h).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/audio/AudioTypes.h"
#include "platform/core/WorkQueue.h"

namespace platform {

inline constexpr AudioStatus kAudioQueueErrInvalidParameter = -50;
inline constexpr AudioStatus kAudioQueueErrBufferEnqueuedTwice = -66666;
inline constexpr AudioStatus kAudioQueueErrDisposed = -66678;
inline constexpr AudioStatus kAudioQueueErrCannotStart = -66681;
inline constexpr AudioStatus kAudioQueueErrInvalidPropertySize = -66683;
inline constexpr AudioStatus kAudioQueueErrMeteringDisabled = -66684;
inline constexpr AudioStatus kAudioQueueErrInvalidBuffer = -66687;

// A buffer owned by its queue. The queue sets mAudioDataByteSize when it hands
// the buffer over; the owner reads mAudioData up to that size.
struct AudioQueueBuffer {
    const uint32_t mAudioDataBytesCapacity;
    void* const mAudioData;
    uint32_t mAudioDataByteSize;
};

// One channel's level, on a linear scale from 0.0 (silence) to 1.0 (full scale).
struct AudioQueueLevelMeterState {
    float mAveragePower = 0.0f;
    float mPeakPower = 0.0f;
};

// What the meter gathers from each sample, kept apart so that another pass
// over the same samples (the pitch detector's) can gather it on its way. The
// sum of squares is a whole number, exact whatever the order of the samples.
struct LevelSums {
    uint64_t sumOfSquares = 0;
    int peak = 0;
    void add(int16_t sample) {
        const int value = sample;
        sumOfSquares += static_cast<uint64_t>(value * value);
        peak = std::max(peak, std::abs(value));
    }
};

// The meter's reading of `count` samples from their sums: RMS and largest
// absolute value, both divided by 32768. Silence (or nothing) reads 0.0.
AudioQueueLevelMeterState levelOf(const LevelSums& sums, size_t count);
// The same for a stretch of samples.
AudioQueueLevelMeterState measureLevel(std::span<const int16_t> samples);

class AudioQueue;

// Runs on the queue's hand-over thread, once per full buffer.
using AudioQueueInputCallback = void (*)(void* userData, AudioQueue* queue, AudioQueueBuffer* buffer,
                                         const AudioTimeStamp* startTime, uint32_t packetCount);

// Makes the queue behind AudioQueue::newInput. The format has been checked.
using AudioQueueInputFactory = std::function<std::unique_ptr<AudioQueue>(
    const AudioStreamBasicDescription& format, AudioQueueInputCallback callback, void* userData)>;

class AudioQueue {
public:
    // A new, stopped input queue for `format` from the installed factory;
    // `queue` stays empty when the format is not one queues capture or the
    // callback is missing.
    static AudioStatus newInput(const AudioStreamBasicDescription& format, AudioQueueInputCallback callback,
                                void* userData, std::unique_ptr<AudioQueue>& queue);
    // Chooses what backs new input queues; nothing installed (or null) means
    // queues that never start, as on a machine without a microphone.
    static void setInputFactory(AudioQueueInputFactory factory);
    // The factory installed now (empty when none), so that one can be wrapped.
    static AudioQueueInputFactory inputFactory();

    virtual ~AudioQueue();
    AudioQueue(const AudioQueue&) = delete;
    AudioQueue& operator=(const AudioQueue&) = delete;

    const AudioStreamBasicDescription& format() const { return format_; }

    // Main thread. A buffer of `byteSize` bytes (at least one sample) that the
    // queue owns until it is disposed.
    AudioStatus allocateBuffer(uint32_t byteSize, AudioQueueBuffer** buffer);
    // Any thread, the callback included. Puts one of this queue's buffers in
    // line to be filled; a buffer already in line is refused.
    AudioStatus enqueueBuffer(AudioQueueBuffer* buffer);
    // Main thread. Starts capture as soon as possible.
    AudioStatus start();
    // Main thread, never the callback. Stops at once: when it returns no
    // callback is running or will run, and a partly filled buffer starts again
    // empty on the next start.
    AudioStatus stop();
    // Main thread, never the callback. Stops at once and refuses every later
    // call; the buffers go with the queue.
    void dispose();

    // The queue's properties: whether it is running ('aqrn'), level metering
    // on or off ('aqme'), the current level of each channel ('aqmv').
    AudioStatus isRunning(uint32_t& running) const;
    AudioStatus setEnableLevelMetering(uint32_t enabled);
    AudioStatus currentLevelMeter(std::span<AudioQueueLevelMeterState> channels) const;

protected:
    AudioQueue(const AudioStreamBasicDescription& format, AudioQueueInputCallback callback, void* userData);

    // Called by start() and stop() on the main thread. After stopCapture()
    // returns the source delivers nothing more. Implementations call dispose()
    // in their destructor, before their own members go.
    virtual AudioStatus startCapture() = 0;
    virtual void stopCapture() = 0;

    // Any thread. The next samples of the stream, put into buffers on the
    // hand-over thread.
    void deliver(std::vector<int16_t> samples);
    // Any thread but the hand-over thread: returns once everything delivered
    // so far is in a buffer or lost, and every hand-over it caused is done.
    void waitUntilDelivered();
    // The source's own thread, never the main thread: the next samples of the
    // stream, put into buffers at once on the calling thread, which is then
    // the queue's hand-over thread for them. No other thread wakes for them.
    // stopCapture() returns only once no call of this runs or will run.
    void deliverHere(std::span<const int16_t> samples);
    // Samples still missing from the buffer being filled; 0 with none in line.
    uint32_t samplesUntilHandOver() const;
    // Any thread but the hand-over thread: the source has failed (a device
    // gone). The meter reads silence at once rather than the last buffer
    // before the failure, and a partly filled buffer starts again empty, so
    // that no buffer joins sound from before the failure to sound after it.
    void inputLost();

private:
    struct OwnedBuffer;
    // Runs on the hand-over thread.
    void fill(std::span<const int16_t> samples);
    bool owns(const AudioQueueBuffer* buffer) const;

    const AudioStreamBasicDescription format_;
    const AudioQueueInputCallback callback_;
    void* const userData_;

    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<OwnedBuffer>> buffers_;
    std::vector<AudioQueueBuffer*> inLine_;  // front is being filled
    bool running_ = false;
    bool disposed_ = false;
    bool meteringEnabled_ = false;
    AudioQueueLevelMeterState meter_;
    double samplesAccepted_ = 0.0;

    // Declared last so that its thread ends before the state above goes.
    WorkQueue handOver_;
};

}  // namespace platform
