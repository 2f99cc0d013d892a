#pragma once
// The guide's listening on a live stream. The capture's tap hands it samples
// (a fixed copy into a lock-free ring, and a wake-up once a whole hop is in:
// nothing else happens on the capture's thread); a worker thread of its own,
// asleep in between, reads the ring hop by hop
// through a GuideAnalyzer and hands each reading over to whoever takes them —
// the tuner screen, on the main thread.
//
// The ring's samples pass through the worker one hop at a time, so another
// analysis of the same windows (the strings of a course, say) can be fed
// beside the guide's.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "guide/GuideAnalyzer.h"
#include "guide/HopSignal.h"
#include "guide/SampleFifo.h"

namespace guide {

class GuideStream {
public:
    // Readings kept for the taker: five seconds' worth.
    static constexpr size_t kKeptReadings = 128;

    // `courses`: as the analyzer's (GuideAnalyzer.h), kept by the caller.
    explicit GuideStream(double sampleRate, std::span<const CoursePitch> courses = {});
    // Stops the worker; the stream must be off the tap by then.
    ~GuideStream();
    GuideStream(const GuideStream&) = delete;
    GuideStream& operator=(const GuideStream&) = delete;

    // Runs on the capture's thread: the stream's next samples. Fixed work: no
    // allocation, no lock.
    void append(std::span<const int16_t> samples);
    // The same, as an input tap's block (platform/audio/AudioInputTap.h) with
    // the stream as its user data.
    static void tapBlock(void* stream, std::span<const int16_t> samples);

    // Any thread but the worker: moves the oldest readings not yet taken into
    // `out`, as many as it holds, and answers how many. Readings older than
    // the last kKeptReadings are gone.
    size_t takeReadings(std::span<GuideReading> out);
    // Any thread but the worker and the capture's: returns once every whole
    // hop appended so far has been read.
    void waitUntilRead();
    // Any thread: reads the hops from the next on as course `number`, or,
    // with none, as the nearest course (GuideAnalyzer::choose).
    void choose(std::optional<int> number);

private:
    // Runs on the worker thread.
    void work();
    void readWaitingHops();

    SampleFifo fifo_;
    HopSignal hops_;  // one for each whole hop written, and one to stop
    std::atomic<bool> stopping_{false};
    std::atomic<int> chosenCourse_{0};  // 0 for none

    // The worker's.
    GuideAnalyzer analyzer_;
    std::array<int16_t, kHopSamples> hop_{};
    uint64_t droppedSeen_ = 0;

    // Between the worker and the takers, never the capture.
    std::mutex mutex_;
    std::condition_variable hopRead_;
    bool reading_ = false;  // the worker is between taking a hop and handing its reading over
    std::array<GuideReading, kKeptReadings> readings_{};
    uint64_t made_ = 0;   // readings made so far
    uint64_t taken_ = 0;  // readings taken so far

    std::thread worker_;  // last: it starts once everything above is made
};

}  // namespace guide
