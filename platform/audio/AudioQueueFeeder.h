#pragma once
// Input queues that a test plays into: once installed, every new input queue
// takes the samples the test pushes, fills its buffers in turn and hands them
// over on its own thread, exactly as a microphone's queue would.

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/audio/AudioQueue.h"

namespace platform {

class AudioQueueFeeder : public std::enable_shared_from_this<AudioQueueFeeder> {
public:
    // Makes this feeder back every new input queue until another factory is installed.
    static std::shared_ptr<AudioQueueFeeder> install();

    // Any thread. The next samples heard by every queue made by this feeder
    // and not yet disposed; a queue that is stopped, or has no buffer in line,
    // loses them.
    void push(std::span<const int16_t> samples);
    // Any thread but a queue's: returns once every sample pushed so far is in
    // a buffer or lost and every hand-over it caused has returned.
    void waitUntilDelivered();
    // Any thread but a queue's. The source fails, as an unplugged microphone
    // would: every queue's meter reads silence at once and a partly filled
    // buffer starts again empty.
    void lose();
    // How many queues this feeder has made.
    int queuesMade() const;

private:
    class FedQueue;
    AudioQueueFeeder() = default;
    std::unique_ptr<AudioQueue> makeQueue(const AudioStreamBasicDescription& format, AudioQueueInputCallback callback,
                                          void* userData);
    void forget(FedQueue* queue);

    mutable std::mutex mutex_;
    std::vector<FedQueue*> queues_;
    int queuesMade_ = 0;
};

}  // namespace platform
