#include "pitch/SCListener.h"

#include <algorithm>
#include <mutex>
#include <span>

#include "platform/AudioSession.h"
#include "platform/Log.h"

namespace pitch {
namespace {

// Guards the making of the shared instance; sharedListener() holds it while
// allocWithZone() takes it again.
std::recursive_mutex& classLock() {
    static std::recursive_mutex lock;
    return lock;
}

// The shared instance: set once, never cleared, never destroyed.
SCListener* sharedInstance = nullptr;

}  // namespace

SCListener* SCListener::sharedListener() {
    std::lock_guard guard(classLock());
    if (sharedInstance == nullptr) sharedInstance = allocWithZone()->init();
    return sharedInstance;
}

SCListener* SCListener::allocWithZone() {
    std::lock_guard guard(classLock());
    if (sharedInstance != nullptr) return nullptr;
    sharedInstance = new SCListener();
    return sharedInstance;
}

SCListener::SCListener() : PitchEstimator(kCaptureSampleRate) {}

SCListener* SCListener::init() {
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

SCListener::~SCListener() {
    stop();
    const auto session = platform::AudioSession::sharedInstance();
    if (!session) return;
    if (const auto error = session->setActive(false)) platform::NSLog("%@", error->localizedDescription);
}

void SCListener::listen() {
    if (!queue_) setupQueue();
    if (queue_) queue_->start();
}

void SCListener::pause() {
    if (isListening()) queue_->stop();
}

void SCListener::stop() {
    if (!queue_) return;
    // Disposed before the handle is dropped: the callback reads the handle
    // until the queue has ended its last hand-over.
    queue_->dispose();
    queue_.reset();
}

bool SCListener::isListening() const {
    if (!queue_) return false;
    uint32_t running = 0;
    return queue_->isRunning(running) == platform::kAudioNoError && running != 0;
}

const platform::AudioQueueLevelMeterState* SCListener::levels() {
    if (!isListening()) return nullptr;
    updateLevels();
    return levels_.data();
}

void SCListener::updateLevels() {
    if (!queue_) return;
    const size_t channels = std::min<size_t>(format_.mChannelsPerFrame, levels_.size());
    queue_->currentLevelMeter(std::span(levels_.data(), channels));
}

float SCListener::averagePower() {
    const auto* records = levels();
    return records ? records[0].mAveragePower : 0.0f;
}

float SCListener::peakPower() {
    const auto* records = levels();
    return records ? records[0].mPeakPower : 0.0f;
}

void SCListener::setupQueue() {
    if (queue_) return;
    setupFormat();
    platform::AudioQueue::newInput(format_, audioQueueInputCallback, this, queue_);
    setupBuffers();
    setupMetering();
}

void SCListener::setupFormat() {
    format_.mSampleRate = kCaptureSampleRate;
    format_.mFormatID = platform::kAudioFormatLinearPCM;
    format_.mFormatFlags = platform::kLinearPCMFormatFlagIsSignedInteger | platform::kLinearPCMFormatFlagIsPacked;
    format_.mBytesPerPacket = 2;
    format_.mFramesPerPacket = 1;
    format_.mBytesPerFrame = 2;
    format_.mChannelsPerFrame = 1;
    format_.mBitsPerChannel = 16;
}

void SCListener::setupBuffers() {
    if (!queue_) return;
    for (int i = 0; i < kCaptureBufferCount; ++i) {
        platform::AudioQueueBuffer* buffer = nullptr;
        queue_->allocateBuffer(kCaptureBufferBytes, &buffer);
        queue_->enqueueBuffer(buffer);
    }
}

void SCListener::setupMetering() {
    levels_.assign(format_.mChannelsPerFrame, platform::AudioQueueLevelMeterState{});
    const platform::AudioStatus status =
        queue_ ? queue_->setEnableLevelMetering(1) : platform::kAudioQueueErrInvalidParameter;
    platform::NSLog("AudioQueueSetProperty error: %d", status);
}

void audioQueueInputCallback(void* userData, platform::AudioQueue* queue, platform::AudioQueueBuffer* buffer,
                             const platform::AudioTimeStamp* /*startTime*/, uint32_t /*packetCount*/) {
    auto* listener = static_cast<SCListener*>(userData);
    if (!listener->isListening()) return;
    listener->setAudioBuffer(buffer->mAudioData, buffer->mAudioDataByteSize);
    queue->enqueueBuffer(buffer);
}

}  // namespace pitch
