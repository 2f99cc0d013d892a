#include "platform/audio/AudioQueue.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/audio/AudioInputTap.h"
#include "platform/core/Installed.h"

namespace platform {
namespace {

// The flags a capture format must not carry: float samples, big-endian samples.
constexpr uint32_t kFloatOrBigEndian = 1 | 2;
constexpr uint32_t kSignedPacked = kLinearPCMFormatFlagIsSignedInteger | kLinearPCMFormatFlagIsPacked;
constexpr double kFullScale = 32768.0;

bool isCaptureFormat(const AudioStreamBasicDescription& format) {
    return std::isfinite(format.mSampleRate) && format.mSampleRate > 0.0 &&
           format.mFormatID == kAudioFormatLinearPCM && (format.mFormatFlags & kSignedPacked) == kSignedPacked &&
           (format.mFormatFlags & kFloatOrBigEndian) == 0 && format.mBitsPerChannel == 16 &&
           format.mChannelsPerFrame == 1 && format.mBytesPerFrame == 2 && format.mBytesPerPacket == 2 &&
           format.mFramesPerPacket == 1;
}

// What backs new queues when nothing is installed: a device that is not there.
class UnavailableAudioQueue final : public AudioQueue {
public:
    UnavailableAudioQueue(const AudioStreamBasicDescription& format, AudioQueueInputCallback callback, void* userData)
        : AudioQueue(format, callback, userData) {}
    ~UnavailableAudioQueue() override { dispose(); }

private:
    AudioStatus startCapture() override { return kAudioQueueErrCannotStart; }
    void stopCapture() override {}
};

Installed<AudioQueueInputFactory>& installedFactory() {
    static Installed<AudioQueueInputFactory> factory;
    return factory;
}

}  // namespace

struct AudioQueue::OwnedBuffer {
    explicit OwnedBuffer(uint32_t byteSize)
        : storage(byteSize), header{byteSize, storage.data(), 0} {}
    std::vector<std::byte> storage;
    AudioQueueBuffer header;
};

AudioQueueLevelMeterState levelOf(const LevelSums& sums, size_t count) {
    if (count == 0) return {};
    const double rms = std::sqrt(static_cast<double>(sums.sumOfSquares) / static_cast<double>(count));
    return {static_cast<float>(rms / kFullScale), static_cast<float>(sums.peak / kFullScale)};
}

AudioQueueLevelMeterState measureLevel(std::span<const int16_t> samples) {
    LevelSums sums;
    for (const int16_t sample : samples) sums.add(sample);
    return levelOf(sums, samples.size());
}

AudioStatus AudioQueue::newInput(const AudioStreamBasicDescription& format, AudioQueueInputCallback callback,
                                 void* userData, std::unique_ptr<AudioQueue>& queue) {
    queue.reset();
    if (callback == nullptr) return kAudioQueueErrInvalidParameter;
    if (!isCaptureFormat(format)) return kAudioFormatUnsupported;
    const AudioQueueInputFactory factory = installedFactory().get();
    queue = factory ? factory(format, callback, userData)
                    : std::make_unique<UnavailableAudioQueue>(format, callback, userData);
    return queue ? kAudioNoError : kAudioQueueErrCannotStart;
}

AudioQueueInputFactory AudioQueue::inputFactory() { return installedFactory().get(); }

void AudioQueue::setInputFactory(AudioQueueInputFactory factory) { installedFactory().install(std::move(factory)); }

AudioQueue::AudioQueue(const AudioStreamBasicDescription& format, AudioQueueInputCallback callback, void* userData)
    : format_(format), callback_(callback), userData_(userData), handOver_("audio queue") {}

AudioQueue::~AudioQueue() = default;

AudioStatus AudioQueue::allocateBuffer(uint32_t byteSize, AudioQueueBuffer** buffer) {
    if (buffer == nullptr) return kAudioQueueErrInvalidParameter;
    *buffer = nullptr;
    if (byteSize < format_.mBytesPerFrame) return kAudioQueueErrInvalidParameter;
    std::lock_guard lock(mutex_);
    if (disposed_) return kAudioQueueErrDisposed;
    buffers_.push_back(std::make_unique<OwnedBuffer>(byteSize));
    // Room for every buffer, so that enqueueing from the callback never allocates.
    inLine_.reserve(buffers_.size());
    *buffer = &buffers_.back()->header;
    return kAudioNoError;
}

bool AudioQueue::owns(const AudioQueueBuffer* buffer) const {
    return std::any_of(buffers_.begin(), buffers_.end(),
                       [buffer](const auto& owned) { return &owned->header == buffer; });
}

AudioStatus AudioQueue::enqueueBuffer(AudioQueueBuffer* buffer) {
    std::lock_guard lock(mutex_);
    if (disposed_) return kAudioQueueErrDisposed;
    if (buffer == nullptr || !owns(buffer)) return kAudioQueueErrInvalidBuffer;
    if (std::find(inLine_.begin(), inLine_.end(), buffer) != inLine_.end()) return kAudioQueueErrBufferEnqueuedTwice;
    buffer->mAudioDataByteSize = 0;
    inLine_.push_back(buffer);
    return kAudioNoError;
}

AudioStatus AudioQueue::start() {
    {
        std::lock_guard lock(mutex_);
        if (disposed_) return kAudioQueueErrDisposed;
        if (running_) return kAudioNoError;
        running_ = true;
        meter_ = {};
    }
    const AudioStatus status = startCapture();
    if (status != kAudioNoError) {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    return status;
}

AudioStatus AudioQueue::stop() {
    {
        std::lock_guard lock(mutex_);
        if (disposed_) return kAudioQueueErrDisposed;
        if (!running_) return kAudioNoError;
        running_ = false;
    }
    stopCapture();
    handOver_.waitUntilIdle();
    std::lock_guard lock(mutex_);
    if (!inLine_.empty()) inLine_.front()->mAudioDataByteSize = 0;
    return kAudioNoError;
}

void AudioQueue::dispose() {
    stop();
    std::lock_guard lock(mutex_);
    disposed_ = true;
}

AudioStatus AudioQueue::isRunning(uint32_t& running) const {
    std::lock_guard lock(mutex_);
    if (disposed_) return kAudioQueueErrDisposed;
    running = running_ ? 1 : 0;
    return kAudioNoError;
}

AudioStatus AudioQueue::setEnableLevelMetering(uint32_t enabled) {
    std::lock_guard lock(mutex_);
    if (disposed_) return kAudioQueueErrDisposed;
    meteringEnabled_ = enabled != 0;
    return kAudioNoError;
}

AudioStatus AudioQueue::currentLevelMeter(std::span<AudioQueueLevelMeterState> channels) const {
    std::lock_guard lock(mutex_);
    if (disposed_) return kAudioQueueErrDisposed;
    if (!meteringEnabled_) return kAudioQueueErrMeteringDisabled;
    if (channels.size() != format_.mChannelsPerFrame) return kAudioQueueErrInvalidPropertySize;
    channels.front() = meter_;
    return kAudioNoError;
}

void AudioQueue::deliver(std::vector<int16_t> samples) {
    {
        std::lock_guard lock(mutex_);
        if (disposed_) return;
    }
    handOver_.async([this, samples = std::move(samples)] { fill(samples); });
}

void AudioQueue::waitUntilDelivered() { handOver_.waitUntilIdle(); }

void AudioQueue::deliverHere(std::span<const int16_t> samples) { fill(samples); }

void AudioQueue::inputLost() {
    handOver_.waitUntilIdle();
    std::lock_guard lock(mutex_);
    meter_ = {};
    if (!inLine_.empty()) inLine_.front()->mAudioDataByteSize = 0;
}

uint32_t AudioQueue::samplesUntilHandOver() const {
    std::lock_guard lock(mutex_);
    if (inLine_.empty()) return 0;
    const AudioQueueBuffer* front = inLine_.front();
    return (front->mAudioDataBytesCapacity - front->mAudioDataByteSize) / format_.mBytesPerFrame;
}

void AudioQueue::fill(std::span<const int16_t> samples) {
    std::unique_lock lock(mutex_);
    if (!running_) return;
    // Every piece heard reaches the tap, whether or not a buffer is in line.
    tapAudioInput(samples);
    double position = samplesAccepted_;
    samplesAccepted_ += static_cast<double>(samples.size());
    while (!samples.empty() && running_ && !inLine_.empty()) {
        AudioQueueBuffer* buffer = inLine_.front();
        auto* data = static_cast<int16_t*>(buffer->mAudioData);
        const uint32_t capacity = buffer->mAudioDataBytesCapacity / format_.mBytesPerFrame;
        const uint32_t filled = buffer->mAudioDataByteSize / format_.mBytesPerFrame;
        const auto count = static_cast<uint32_t>(std::min<size_t>(capacity - filled, samples.size()));
        std::memcpy(data + filled, samples.data(), count * sizeof(int16_t));
        buffer->mAudioDataByteSize = (filled + count) * format_.mBytesPerFrame;
        samples = samples.subspan(count);
        position += count;
        if (filled + count < capacity) break;

        inLine_.erase(inLine_.begin());
        meter_ = measureLevel(std::span<const int16_t>(data, capacity));
        const AudioTimeStamp startTime{position - capacity};
        lock.unlock();
        callback_(userData_, this, buffer, &startTime, capacity);
        lock.lock();
    }
}

}  // namespace platform
