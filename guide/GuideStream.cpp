#include "guide/GuideStream.h"

#include <algorithm>

namespace guide {

GuideStream::GuideStream(double sampleRate, std::span<const CoursePitch> courses)
    : analyzer_(sampleRate, courses), worker_([this] { work(); }) {}

GuideStream::~GuideStream() {
    stopping_.store(true, std::memory_order_release);
    hops_.give();
    worker_.join();
}

void GuideStream::append(std::span<const int16_t> samples) {
    const uint64_t before = fifo_.written();
    fifo_.write(samples);
    // The worker sleeps through the pieces that complete no hop.
    for (uint64_t hop = before / kHopSamples; hop < fifo_.written() / kHopSamples; ++hop) hops_.give();
}

void GuideStream::tapBlock(void* stream, std::span<const int16_t> samples) {
    static_cast<GuideStream*>(stream)->append(samples);
}

size_t GuideStream::takeReadings(std::span<GuideReading> out) {
    std::lock_guard lock(mutex_);
    taken_ = std::max(taken_, made_ - std::min<uint64_t>(made_, kKeptReadings));
    size_t count = 0;
    for (; taken_ < made_ && count < out.size(); ++taken_) out[count++] = readings_[taken_ % kKeptReadings];
    return count;
}

void GuideStream::waitUntilRead() {
    std::unique_lock lock(mutex_);
    hopRead_.wait(lock, [this] { return !reading_ && fifo_.available() < kHopSamples; });
}

void GuideStream::choose(std::optional<int> number) {
    chosenCourse_.store(number.value_or(0), std::memory_order_relaxed);
}

void GuideStream::work() {
    while (true) {
        hops_.take();
        if (stopping_.load(std::memory_order_acquire)) return;
        readWaitingHops();
    }
}

void GuideStream::readWaitingHops() {
    while (true) {
        {
            std::lock_guard lock(mutex_);
            if (fifo_.available() < kHopSamples) return;
            reading_ = true;
        }
        // Samples dropped on the way leave a gap: the stream starts afresh after it.
        if (const uint64_t dropped = fifo_.dropped(); dropped != droppedSeen_) {
            analyzer_.restart(analyzer_.heard() + (dropped - droppedSeen_));
            droppedSeen_ = dropped;
        }
        const int chosen = chosenCourse_.load(std::memory_order_relaxed);
        analyzer_.choose(chosen == 0 ? std::nullopt : std::optional<int>(chosen));
        fifo_.read(hop_);
        const GuideReading reading = analyzer_.take(hop_);
        {
            std::lock_guard lock(mutex_);
            readings_[made_++ % kKeptReadings] = reading;
            reading_ = false;
        }
        hopRead_.notify_all();
    }
}

}  // namespace guide
