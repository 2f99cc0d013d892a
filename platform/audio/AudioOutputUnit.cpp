#include "platform/audio/AudioOutputUnit.h"

#include <cmath>
#include <cstring>

#include "platform/core/Installed.h"

namespace platform {
namespace {

bool isPlayableFormat(const AudioStreamBasicDescription& format) {
    constexpr uint32_t kSampleBytes = 2;
    const bool signedInteger = (format.mFormatFlags & kLinearPCMFormatFlagIsSignedInteger) != 0 &&
                               (format.mFormatFlags & kLinearPCMFormatFlagIsFloat) == 0;
    const bool interleaved = (format.mFormatFlags & kLinearPCMFormatFlagIsNonInterleaved) == 0;
    return std::isfinite(format.mSampleRate) && format.mSampleRate > 0.0 &&
           format.mFormatID == kAudioFormatLinearPCM && signedInteger && interleaved &&
           format.mBitsPerChannel == 8 * kSampleBytes && format.mChannelsPerFrame > 0 &&
           format.mBytesPerFrame == kSampleBytes * format.mChannelsPerFrame && format.mFramesPerPacket == 1 &&
           format.mBytesPerPacket == format.mBytesPerFrame;
}

void silence(uint32_t frameCount, uint32_t bytesPerFrame, AudioBufferList buffers) {
    const size_t bytes = static_cast<size_t>(frameCount) * bytesPerFrame;
    for (AudioBuffer& buffer : buffers) {
        if (buffer.mData != nullptr) std::memset(buffer.mData, 0, bytes);
    }
}

Installed<AudioOutputUnitFactory>& installedFactory() {
    static Installed<AudioOutputUnitFactory> factory;
    return factory;
}

// The one component there is: the machine's default output.
constexpr AudioComponentDescription kOutputComponent{kAudioUnitTypeOutput, kAudioUnitSubTypeRemoteIO,
                                                     kAudioUnitManufacturerApple, 0, 0};

}  // namespace

AudioStatus AudioOutputUnit::setStreamFormat(const AudioStreamBasicDescription& format) {
    if (state_.load() != State::Uninitialized) return kAudioUnitErrPropertyNotWritable;
    if (!isPlayableFormat(format)) return kAudioUnitErrFormatNotSupported;
    format_ = format;
    return kAudioNoError;
}

AudioStatus AudioOutputUnit::setRenderCallback(const AudioRenderCallbackStruct& callback) {
    if (state_.load() != State::Uninitialized) return kAudioUnitErrPropertyNotWritable;
    callback_ = callback;
    return kAudioNoError;
}

AudioStatus AudioOutputUnit::initialize() {
    const State state = state_.load();
    if (state == State::Initialized || state == State::Running) return kAudioNoError;
    if (state == State::Disposed) return kAudioUnitErrUninitialized;
    if (!format_) return kAudioUnitErrFormatNotSupported;
    const AudioStatus status = openDevice();
    if (status == kAudioNoError) state_.store(State::Initialized);
    return status;
}

AudioStatus AudioOutputUnit::start() {
    const State state = state_.load();
    if (state == State::Running) return kAudioNoError;
    if (state != State::Initialized) return kAudioUnitErrUninitialized;
    // Running before the device starts, so its very first pull is not silence.
    state_.store(State::Running, std::memory_order_release);
    const AudioStatus status = startDevice();
    if (status != kAudioNoError) state_.store(State::Initialized);
    return status;
}

AudioStatus AudioOutputUnit::stop() {
    if (state_.load() != State::Running) return kAudioNoError;
    stopDevice();
    state_.store(State::Initialized, std::memory_order_release);
    return kAudioNoError;
}

void AudioOutputUnit::dispose() {
    const State state = state_.load();
    if (state == State::Disposed) return;
    stop();
    if (state != State::Uninitialized) closeDevice();
    state_.store(State::Disposed);
}

bool AudioOutputUnit::isInitialized() const {
    const State state = state_.load();
    return state == State::Initialized || state == State::Running;
}

AudioStatus AudioOutputUnit::pull(uint32_t frameCount, AudioBufferList buffers) {
    const State state = state_.load(std::memory_order_acquire);
    if (state != State::Running || callback_.callback == nullptr) {
        silence(frameCount, format_ ? format_->mBytesPerFrame : 0, buffers);
        return state == State::Running || state == State::Initialized ? kAudioNoError
                                                                       : kAudioUnitErrUninitialized;
    }
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp timeStamp{sampleTime_};
    sampleTime_ += frameCount;
    const AudioStatus status = callback_.callback(callback_.context, &flags, &timeStamp, 0, frameCount, buffers);
    framesRendered_.fetch_add(frameCount, std::memory_order_release);
    return status;
}

AudioStatus PlainAudioOutputUnit::render(uint32_t frameCount, AudioBufferList buffers) {
    if (!isInitialized()) {
        for (AudioBuffer& buffer : buffers) {
            if (buffer.mData != nullptr) std::memset(buffer.mData, 0, buffer.mDataByteSize);
        }
        return kAudioUnitErrUninitialized;
    }
    const uint64_t bytes = static_cast<uint64_t>(frameCount) * streamFormat()->mBytesPerFrame;
    for (const AudioBuffer& buffer : buffers) {
        if (buffer.mDataByteSize != bytes || (bytes != 0 && buffer.mData == nullptr)) return kAudioParamError;
    }
    return pull(frameCount, buffers);
}

std::optional<AudioComponent> AudioComponent::findNext(const AudioComponentDescription& description) {
    const auto matches = [](uint32_t wanted, uint32_t offered) { return wanted == 0 || wanted == offered; };
    const uint32_t mask = description.componentFlagsMask;
    if (description.componentType != kOutputComponent.componentType ||
        !matches(description.componentSubType, kOutputComponent.componentSubType) ||
        !matches(description.componentManufacturer, kOutputComponent.componentManufacturer) ||
        (description.componentFlags & mask) != (kOutputComponent.componentFlags & mask)) {
        return std::nullopt;
    }
    return AudioComponent(kOutputComponent);
}

void AudioComponent::setOutputUnitFactory(AudioOutputUnitFactory factory) {
    installedFactory().install(std::move(factory));
}

std::shared_ptr<AudioOutputUnit> AudioComponent::instanceNew() const {
    const AudioOutputUnitFactory factory = installedFactory().get();
    return factory ? factory() : std::make_shared<PlainAudioOutputUnit>();
}

}  // namespace platform
