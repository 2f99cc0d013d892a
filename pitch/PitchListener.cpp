#include "pitch/PitchListener.h"

#include <algorithm>
#include <mutex>
#include <span>

#include "platform/audio/AudioSession.h"
#include "platform/core/Log.h"

namespace pitch {
namespace {

// Guards the making of the shared instance; sharedListener() holds it while
// allocWithZone() takes it again.
std::recursive_mutex& classLock() {
    static std::recursive_mutex lock;
    return lock;
}

// The shared instance: set once, never cleared, never destroyed.
PitchListener* sharedInstance = nullptr;

}  // namespace

PitchListener* PitchListener::sharedListener() {
    std::lock_guard guard(classLock());
    if (sharedInstance == nullptr) sharedInstance = allocWithZone()->init();
    return sharedInstance;
}

PitchListener* PitchListener::allocWithZone() {
    std::lock_guard guard(classLock());
    if (sharedInstance != nullptr) return nullptr;
    sharedInstance = new PitchListener();
    return sharedInstance;
}

PitchListener::PitchListener() : PitchEstimator(kCaptureSampleRate) {}

PitchListener* PitchListener::init() {
    const auto session = platform::AudioSession::sharedInstance();
    if (!session) {
        platform::NSLog("%@ Error setting category: %@", "init", "there is no audio session");
        return this;
    }
    if (const auto error = session->setCategory(platform::kAudioSessionCategoryPlayback)) {
        platform::NSLog("%@ Error setting category: %@", "init", error->localizedDescription);
        return this;
    }
    (void)session->setCategory(platform::kAudioSessionCategoryPlayAndRecord,
                               platform::kAudioSessionCategoryOptionDefaultToSpeaker);
    if (const auto error = session->setActive(true)) platform::NSLog("%@", error->localizedDescription);
    return this;
}

PitchListener::~PitchListener() {
    stop();
    const auto session = platform::AudioSession::sharedInstance();
    if (!session) return;
    if (const auto error = session->setActive(false)) platform::NSLog("%@", error->localizedDescription);
}

void PitchListener::listen() {
    if (!queue_) setupQueue();
    if (queue_) queue_->start();
}

void PitchListener::pause() {
    if (isListening()) queue_->stop();
}

void PitchListener::stop() {
    if (!queue_) return;
    // Disposed before the handle is dropped: the callback reads the handle
    // until the queue has ended its last hand-over.
    queue_->dispose();
    queue_.reset();
}

bool PitchListener::isListening() const {
    if (!queue_) return false;
    uint32_t running = 0;
    return queue_->isRunning(running) == platform::kAudioNoError && running != 0;
}

const platform::AudioQueueLevelMeterState* PitchListener::levels() {
    if (!isListening()) return nullptr;
    updateLevels();
    return levels_.data();
}

void PitchListener::updateLevels() {
    if (!queue_) return;
    const size_t channels = std::min<size_t>(format_.mChannelsPerFrame, levels_.size());
    queue_->currentLevelMeter(std::span(levels_.data(), channels));
}

float PitchListener::averagePower() {
    const auto* records = levels();
    return records ? records[0].mAveragePower : 0.0f;
}

float PitchListener::peakPower() {
    const auto* records = levels();
    return records ? records[0].mPeakPower : 0.0f;
}

void PitchListener::setupQueue() {
    if (queue_) return;
    setupFormat();
    platform::AudioQueue::newInput(format_, audioQueueInputCallback, this, queue_);
    setupBuffers();
    setupMetering();
}

void PitchListener::setupFormat() {
    format_ = captureFormat();
}

void PitchListener::setupBuffers() {
    if (!queue_) return;
    for (int i = 0; i < kCaptureBufferCount; ++i) {
        platform::AudioQueueBuffer* buffer = nullptr;
        queue_->allocateBuffer(kCaptureBufferBytes, &buffer);
        queue_->enqueueBuffer(buffer);
    }
}

void PitchListener::setupMetering() {
    levels_.assign(format_.mChannelsPerFrame, platform::AudioQueueLevelMeterState{});
    const platform::AudioStatus status =
        queue_ ? queue_->setEnableLevelMetering(1) : platform::kAudioQueueErrInvalidParameter;
    // Meant: the status is logged in every case, 0 (success) included.
    platform::NSLog("AudioQueueSetProperty error: %d", status);
}

void audioQueueInputCallback(void* userData, platform::AudioQueue* queue, platform::AudioQueueBuffer* buffer,
                             const platform::AudioTimeStamp* /*startTime*/, uint32_t /*packetCount*/) {
    auto* listener = static_cast<PitchListener*>(userData);
    if (!listener->isListening()) return;
    listener->setAudioBuffer(buffer->mAudioData, buffer->mAudioDataByteSize);
    queue->enqueueBuffer(buffer);
}

}  // namespace pitch
