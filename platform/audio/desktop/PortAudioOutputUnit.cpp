#include "platform/audio/desktop/PortAudioOutputUnit.h"

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/audio/desktop/AudioDevices.h"
#include "platform/audio/desktop/OutputUnavailable.h"
#include "platform/audio/desktop/PortAudioSession.h"
#include "platform/audio/desktop/SpeakerStream.h"
#include "platform/core/RunLoop.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

class PortAudioOutputUnit final : public AudioOutputUnit, public std::enable_shared_from_this<PortAudioOutputUnit> {
public:
    ~PortAudioOutputUnit() override { dispose(); }

protected:
    // Initialising only finds the device: the stream is opened when the unit
    // starts and closed once what it played has been heard, so the sound
    // server keeps no stream for a unit that is silent.
    AudioStatus openDevice() override {
        session_ = PortAudioSession::acquire();
        if (!session_) return kAudioUnitErrFailedInitialization;
        if (chosenOutputDevice() == paNoDevice) {
            reportOutputUnavailable(terminalText("there is no audio output device"));
            session_.reset();
            return kAudioUnitErrFailedInitialization;
        }
        return kAudioNoError;
    }

    // A unit started again before its last sound has been heard plays on in
    // the same stream, without a second lead-in.
    AudioStatus startDevice() override {
        ++playing_;  // what a pending close looks at: this sound is not the one it was for
        sounding_.store(true);
        if (speaker_ && speaker_->isActive()) return kAudioNoError;
        speaker_.reset();
        soundHeardAt_.store(0.0);
        const AudioStreamBasicDescription& format = *streamFormat();
        speaker_ = SpeakerStream::start(
            {static_cast<int>(format.mChannelsPerFrame), paInt16, format.mSampleRate}, &renderTone, this);
        if (speaker_) return kAudioNoError;
        sounding_.store(false);
        return kAudioUnitErrFailedInitialization;
    }

    // The callback is not called again once this returns; the stream plays
    // silence until what it played has been heard, and is closed then.
    void stopDevice() override {
        sounding_.store(false);
        while (rendering_.load()) std::this_thread::yield();  // a pull under way ends within its buffer
        if (speaker_) stoppedAt_ = speaker_->now();
        closeOnceHeard(playing_);
    }

    // The unit goes, so its stream goes now, but not before the last sound
    // has been heard: a program that ends right after a tone still plays it whole.
    void closeDevice() override {
        while (speaker_ && speaker_->isActive() && !heard()) std::this_thread::sleep_for(kHeardCheckInterval);
        speaker_.reset();
        session_.reset();
    }

private:
    // How often a closing unit looks whether its last sound has been heard:
    // waiting as it goes, or on the main run loop after a stop.
    static constexpr auto kHeardCheckInterval = std::chrono::milliseconds(10);
    static constexpr double kHeardCheckSeconds = 0.05;
    // Far longer than the stream's latency and lead-in together.
    static constexpr double kLongestPlayOutSeconds = 1.0;

    // Runs on PortAudio's thread.
    static void renderTone(void* context, void* output, unsigned long frameCount, double heardAt) {
        auto& unit = *static_cast<PortAudioOutputUnit*>(context);
        const uint32_t bytesPerFrame = unit.streamFormat()->mBytesPerFrame;
        AudioBuffer buffer{unit.streamFormat()->mChannelsPerFrame, static_cast<uint32_t>(frameCount * bytesPerFrame),
                           output};
        // Marked before looking whether the unit sounds, so that stopDevice()
        // either sees this pull under way or this pull sees the unit stopped.
        unit.rendering_.store(true);
        const bool sounding = unit.sounding_.load();
        // A callback that fails leaves the buffer undefined; play silence instead.
        if (!sounding || unit.pull(static_cast<uint32_t>(frameCount), AudioBufferList(&buffer, 1)) != kAudioNoError) {
            std::memset(output, 0, buffer.mDataByteSize);
        }
        if (sounding) {
            unit.soundHeardAt_.store(heardAt + static_cast<double>(frameCount) / unit.streamFormat()->mSampleRate,
                                     std::memory_order_release);
        }
        unit.rendering_.store(false, std::memory_order_release);
    }

    // Whether the stream's clock has passed the last frame the unit played;
    // at the latest a while after the stop, should a device misstate its times.
    bool heard() const {
        return speaker_->now() >= std::min(soundHeardAt_.load(std::memory_order_acquire),
                                           stoppedAt_ + kLongestPlayOutSeconds);
    }

    // On the main run loop, looking every little while; a start in between
    // keeps the stream for the next sound.
    void closeOnceHeard(uint64_t sound) {
        RunLoop::main()->performAfterDelay(kHeardCheckSeconds, [self = weak_from_this(), sound] {
            const auto unit = self.lock();
            if (!unit || unit->playing_ != sound || !unit->speaker_) return;
            if (unit->speaker_->isActive() && !unit->heard()) {
                unit->closeOnceHeard(sound);
            } else {
                unit->speaker_.reset();
            }
        });
    }

    std::shared_ptr<PortAudioSession> session_;
    std::atomic<bool> sounding_{false};   // the callback is pulled: between start and stop
    std::atomic<bool> rendering_{false};  // a pull is under way on PortAudio's thread
    // On the stream's clock, when the last frame pulled will have been heard.
    std::atomic<double> soundHeardAt_{0.0};
    double stoppedAt_ = 0.0;  // on the stream's clock; main thread
    uint64_t playing_ = 0;  // counts the starts; main thread
    // Last, so that it stops before anything its callback touches goes.
    std::unique_ptr<SpeakerStream> speaker_;
};

}  // namespace

std::shared_ptr<AudioOutputUnit> makePortAudioOutputUnit() { return std::make_shared<PortAudioOutputUnit>(); }

}  // namespace platform::audio::desktop
