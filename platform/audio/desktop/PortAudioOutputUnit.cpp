#include "platform/audio/desktop/PortAudioOutputUnit.h"

#include <portaudio.h>

#include <cstring>
#include <string>

#include "platform/audio/desktop/AudioDevices.h"
#include "platform/audio/desktop/OutputUnavailable.h"
#include "platform/audio/desktop/PortAudioSession.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

class PortAudioOutputUnit final : public AudioOutputUnit {
public:
    ~PortAudioOutputUnit() override { dispose(); }

protected:
    // Initialising only finds the device: the stream is opened when the unit
    // starts and closed when it stops, so the sound server keeps no stream
    // for a unit that is silent.
    AudioStatus openDevice() override {
        session_ = PortAudioSession::acquire();
        if (!session_) return kAudioUnitErrFailedInitialization;
        if (deviceInfo(chosenOutputDevice()) == nullptr) {
            session_.reset();
            return kAudioUnitErrFailedInitialization;
        }
        return kAudioNoError;
    }

    AudioStatus startDevice() override {
        const PaDeviceIndex device = chosenOutputDevice();
        const PaDeviceInfo* info = deviceInfo(device);
        if (info == nullptr) return kAudioUnitErrFailedInitialization;
        const AudioStreamBasicDescription& format = *streamFormat();
        PaStreamParameters output{};
        output.device = device;
        output.channelCount = static_cast<int>(format.mChannelsPerFrame);
        output.sampleFormat = paInt16;
        output.suggestedLatency = info->defaultLowOutputLatency;
        PaError error = Pa_OpenStream(&stream_, nullptr, &output, format.mSampleRate, paFramesPerBufferUnspecified,
                                      paClipOff, &streamCallback, this);
        if (error != paNoError) {
            stream_ = nullptr;
            reportOutputUnavailable(terminalText("cannot open the audio output: %@", Pa_GetErrorText(error)));
            return kAudioUnitErrFailedInitialization;
        }
        error = Pa_StartStream(stream_);
        if (error == paNoError) return kAudioNoError;
        reportOutputUnavailable(terminalText("cannot start the audio output: %@", Pa_GetErrorText(error)));
        closeStream();
        return kAudioUnitErrFailedInitialization;
    }

    // Pa_StopStream returns only after the last callback has finished and
    // what it rendered has been played, so closing cuts nothing off.
    void stopDevice() override {
        Pa_StopStream(stream_);
        closeStream();
    }

    void closeDevice() override { session_.reset(); }

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

    // The device's facts; null, and the run told, when there is no device.
    static const PaDeviceInfo* deviceInfo(PaDeviceIndex device) {
        const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
        if (info == nullptr) reportOutputUnavailable(terminalText("there is no audio output device"));
        return info;
    }

    void closeStream() {
        Pa_CloseStream(stream_);
        stream_ = nullptr;
    }

    std::shared_ptr<PortAudioSession> session_;
    PaStream* stream_ = nullptr;  // while the unit runs
};

}  // namespace

std::shared_ptr<AudioOutputUnit> makePortAudioOutputUnit() { return std::make_shared<PortAudioOutputUnit>(); }

}  // namespace platform::audio::desktop
