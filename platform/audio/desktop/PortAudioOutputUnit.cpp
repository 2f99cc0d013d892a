#include "platform/audio/desktop/PortAudioOutputUnit.h"

#include <portaudio.h>

#include <cstring>
#include <string>

#include "platform/audio/desktop/AudioDevices.h"
#include "platform/audio/desktop/OutputUnavailable.h"
#include "platform/audio/desktop/PortAudioSession.h"

namespace platform::audio::desktop {
namespace {

void reportStreamError(const char* what, PaError error) {
    reportOutputUnavailable(std::string("cannot ") + what + " the audio output: " + Pa_GetErrorText(error));
}

class PortAudioOutputUnit final : public AudioOutputUnit {
public:
    ~PortAudioOutputUnit() override { dispose(); }

protected:
    AudioStatus openDevice() override {
        session_ = PortAudioSession::acquire();
        if (!session_) return kAudioUnitErrFailedInitialization;
        const PaDeviceIndex device = chosenOutputDevice();
        const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
        if (info == nullptr) {
            reportOutputUnavailable("there is no audio output device");
            session_.reset();
            return kAudioUnitErrFailedInitialization;
        }
        const AudioStreamBasicDescription& format = *streamFormat();
        PaStreamParameters output{};
        output.device = device;
        output.channelCount = static_cast<int>(format.mChannelsPerFrame);
        output.sampleFormat = paInt16;
        output.suggestedLatency = info->defaultLowOutputLatency;
        const PaError error = Pa_OpenStream(&stream_, nullptr, &output, format.mSampleRate,
                                            paFramesPerBufferUnspecified, paClipOff, &streamCallback, this);
        if (error != paNoError) {
            reportStreamError("open", error);
            stream_ = nullptr;
            session_.reset();
            return kAudioUnitErrFailedInitialization;
        }
        return kAudioNoError;
    }

    AudioStatus startDevice() override {
        const PaError error = Pa_StartStream(stream_);
        if (error == paNoError) return kAudioNoError;
        reportStreamError("start", error);
        return kAudioUnitErrFailedInitialization;
    }

    // Pa_StopStream returns only after the last callback has finished.
    void stopDevice() override { Pa_StopStream(stream_); }

    void closeDevice() override {
        Pa_CloseStream(stream_);
        stream_ = nullptr;
        session_.reset();
    }

private:
    // Runs on PortAudio's thread.
    static int streamCallback(const void* /*input*/, void* output, unsigned long frameCount,
                              const PaStreamCallbackTimeInfo* /*timeInfo*/, PaStreamCallbackFlags /*flags*/,
                              void* context) {
        auto& unit = *static_cast<PortAudioOutputUnit*>(context);
        const uint32_t bytesPerFrame = unit.streamFormat()->mBytesPerFrame;
        AudioBuffer buffer{unit.streamFormat()->mChannelsPerFrame, static_cast<uint32_t>(frameCount * bytesPerFrame),
                           output};
        // A callback that fails leaves the buffer undefined; play silence instead.
        if (unit.pull(static_cast<uint32_t>(frameCount), AudioBufferList(&buffer, 1)) != kAudioNoError) {
            std::memset(output, 0, buffer.mDataByteSize);
        }
        return paContinue;
    }

    std::shared_ptr<PortAudioSession> session_;
    PaStream* stream_ = nullptr;
};

}  // namespace

std::shared_ptr<AudioOutputUnit> makePortAudioOutputUnit() { return std::make_shared<PortAudioOutputUnit>(); }

}  // namespace platform::audio::desktop
