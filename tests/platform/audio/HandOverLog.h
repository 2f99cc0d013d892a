#pragma once
// The owner's side of an input queue in tests: every hand-over, in order,
// with its samples, the thread it came on and when, by the main run loop's clock.

#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/AudioQueue.h"
#include "platform/core/RunLoop.h"

namespace platform_testing {

struct HandOverLog {
    struct HandOver {
        platform::AudioQueueBuffer* buffer;
        std::vector<int16_t> samples;
        double sampleTime;
        uint32_t packets;
        std::thread::id thread;
        double date;
    };

    // The queue's callback, with the log as user data.
    static void callback(void* userData, platform::AudioQueue* queue, platform::AudioQueueBuffer* buffer,
                         const platform::AudioTimeStamp* start, uint32_t packets) {
        auto* self = static_cast<HandOverLog*>(userData);
        const auto* data = static_cast<const int16_t*>(buffer->mAudioData);
        std::lock_guard lock(self->mutex);
        self->handOvers.push_back({buffer, std::vector<int16_t>(data, data + buffer->mAudioDataByteSize / 2),
                                   start->mSampleTime, packets, std::this_thread::get_id(),
                                   platform::RunLoop::main()->now()});
        if (self->putBack) queue->enqueueBuffer(buffer);
    }

    size_t count() {
        std::lock_guard lock(mutex);
        return handOvers.size();
    }

    std::mutex mutex;
    std::vector<HandOver> handOvers;
    bool putBack = true;
};

}  // namespace platform_testing
