#pragma once
// PitchListener: the process's one pitch detector. It owns the microphone capture
// (an input queue of three 8192-byte buffers at 14039 Hz, mono, 16-bit), the
// level meter the tuner gates on, and — inherited from PitchEstimator — the
// frequency estimate of the latest buffer.
//
// The shared instance is made on first use and lives until the process ends.
// Everything but the capture callback runs on the main thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "pitch/CaptureFormat.h"
#include "pitch/PitchEstimator.h"
#include "platform/audio/AudioQueue.h"

namespace pitch {

class PitchListener : public PitchEstimator {
public:
    // The shared instance, made (and initialised) on the first call.
    static PitchListener* sharedListener();
    // A new, uninitialised instance recorded as the shared one — but only if
    // none exists yet; otherwise null, so that there is never a second detector.
    static PitchListener* allocWithZone();

    // Sets the audio session up for playing and recording; makes no queue.
    PitchListener* init();
    // There is one detector: a copy is the detector itself. Part of the shared
    // detector's guard and used by nothing: nobody copies the detector.
    PitchListener* copyWithZone() { return this; }

    // Sets the queue up when there is none, then starts it.
    void listen();
    // Stops a running queue at once; the queue stays set up.
    void pause();
    // Disposes of the queue at once.
    void stop();
    // Whether there is a queue and it is running.
    bool isListening() const;

    // The level records (one per channel), refreshed; null when not listening.
    const platform::AudioQueueLevelMeterState* levels();
    void updateLevels();
    // Channel 0's levels on the linear scale; 0.0 when not listening.
    float averagePower();
    float peakPower();

    // The set-up steps of listen(), in the order setupQueue() runs them.
    void setupQueue();
    void setupFormat();
    void setupBuffers();
    void setupMetering();

    const platform::AudioStreamBasicDescription& format() const { return format_; }

protected:
    // Made only through allocWithZone(), so that the process has one detector;
    // a subclass (a test's private detector) may make its own.
    PitchListener();
    // Stops the queue and deactivates the audio session.
    ~PitchListener();

private:
    std::vector<platform::AudioQueueLevelMeterState> levels_;
    std::unique_ptr<platform::AudioQueue> queue_;
    platform::AudioStreamBasicDescription format_{};
};

// The capture callback: hands each full buffer to the detector and puts it
// back in line. Runs on the queue's hand-over thread.
void audioQueueInputCallback(void* userData, platform::AudioQueue* queue, platform::AudioQueueBuffer* buffer,
                             const platform::AudioTimeStamp* startTime, uint32_t packetCount);

}  // namespace pitch
