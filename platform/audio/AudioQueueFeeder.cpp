#include "platform/audio/AudioQueueFeeder.h"

#include <algorithm>

namespace platform {

class AudioQueueFeeder::FedQueue final : public AudioQueue {
public:
    FedQueue(std::shared_ptr<AudioQueueFeeder> feeder, const AudioStreamBasicDescription& format,
             AudioQueueInputCallback callback, void* userData)
        : AudioQueue(format, callback, userData), feeder_(std::move(feeder)) {}
    ~FedQueue() override {
        feeder_->forget(this);
        dispose();
    }

    void hear(std::span<const int16_t> samples) { deliver(std::vector<int16_t>(samples.begin(), samples.end())); }
    void waitUntilHeard() { waitUntilDelivered(); }
    void lose() { inputLost(); }

private:
    // The feeder's samples go straight to the hand-over thread, which drops
    // them while the queue is stopped; there is nothing to start or stop here.
    AudioStatus startCapture() override { return kAudioNoError; }
    void stopCapture() override {}

    const std::shared_ptr<AudioQueueFeeder> feeder_;
};

std::shared_ptr<AudioQueueFeeder> AudioQueueFeeder::install() {
    std::shared_ptr<AudioQueueFeeder> feeder(new AudioQueueFeeder());
    AudioQueue::setInputFactory([feeder](const AudioStreamBasicDescription& format, AudioQueueInputCallback callback,
                                         void* userData) { return feeder->makeQueue(format, callback, userData); });
    return feeder;
}

std::unique_ptr<AudioQueue> AudioQueueFeeder::makeQueue(const AudioStreamBasicDescription& format,
                                                        AudioQueueInputCallback callback, void* userData) {
    auto queue = std::make_unique<FedQueue>(shared_from_this(), format, callback, userData);
    std::lock_guard lock(mutex_);
    queues_.push_back(queue.get());
    ++queuesMade_;
    return queue;
}

void AudioQueueFeeder::forget(FedQueue* queue) {
    std::lock_guard lock(mutex_);
    queues_.erase(std::remove(queues_.begin(), queues_.end(), queue), queues_.end());
}

void AudioQueueFeeder::push(std::span<const int16_t> samples) {
    std::lock_guard lock(mutex_);
    for (FedQueue* queue : queues_) queue->hear(samples);
}

void AudioQueueFeeder::waitUntilDelivered() {
    std::lock_guard lock(mutex_);
    for (FedQueue* queue : queues_) queue->waitUntilHeard();
}

void AudioQueueFeeder::lose() {
    std::lock_guard lock(mutex_);
    for (FedQueue* queue : queues_) queue->lose();
}

int AudioQueueFeeder::queuesMade() const {
    std::lock_guard lock(mutex_);
    return queuesMade_;
}

}  // namespace platform
