#include "platform/audio/desktop/SpeakerStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/audio/desktop/AudioDevices.h"
#include "platform/audio/desktop/OutputUnavailable.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

// Asked of the device. With 35 ms, half of the tones played on a machine
// whose cores were both busy had gaps; with 100 ms none did. A sound a
// musician starts by hand may come this much later.
constexpr double kLatencySeconds = 0.1;
// The lead-in beyond the stream's latency: the start lost up to 56 ms more
// than the latency, at every latency tried (35, 60, 75 and 100 ms).
constexpr double kLeadInBeyondLatencySeconds = 0.1;

}  // namespace

std::unique_ptr<SpeakerStream> SpeakerStream::start(const Format& format, Render render, void* context) {
    const PaDeviceIndex device = chosenOutputDevice();
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (info == nullptr) {
        reportOutputUnavailable(terminalText("there is no audio output device"));
        return nullptr;
    }
    std::unique_ptr<SpeakerStream> speaker(new SpeakerStream(format, render, context));
    PaStreamParameters output{};
    output.device = device;
    output.channelCount = format.channels;
    output.sampleFormat = format.sampleFormat;
    output.suggestedLatency = kLatencySeconds;
    PaError error = Pa_OpenStream(&speaker->stream_, nullptr, &output, format.sampleRate,
                                  paFramesPerBufferUnspecified, paClipOff, &SpeakerStream::callback, speaker.get());
    if (error != paNoError) {
        speaker->stream_ = nullptr;
        reportOutputUnavailable(terminalText("cannot open the audio output: %@", Pa_GetErrorText(error)));
        return nullptr;
    }
    const PaStreamInfo* opened = Pa_GetStreamInfo(speaker->stream_);
    const double latency = opened != nullptr ? opened->outputLatency : output.suggestedLatency;
    speaker->leadIn_ = static_cast<unsigned long>(std::lround((latency + kLeadInBeyondLatencySeconds) * format.sampleRate));
    error = Pa_StartStream(speaker->stream_);
    if (error != paNoError) {
        reportOutputUnavailable(terminalText("cannot start the audio output: %@", Pa_GetErrorText(error)));
        return nullptr;
    }
    return speaker;
}

SpeakerStream::SpeakerStream(const Format& format, Render render, void* context)
    : format_(format),
      render_(render),
      context_(context),
      bytesPerFrame_(static_cast<unsigned long>(format.channels * Pa_GetSampleSize(format.sampleFormat))) {}

// Aborted rather than stopped: a stream whose device failed mid-sound never
// finishes stopping, and through a sound server stopping does not play out
// what the server holds anyway.
SpeakerStream::~SpeakerStream() {
    if (stream_ == nullptr) return;
    Pa_AbortStream(stream_);
    Pa_CloseStream(stream_);
}

bool SpeakerStream::isActive() const { return Pa_IsStreamActive(stream_) == 1; }

double SpeakerStream::now() const { return Pa_GetStreamTime(stream_); }

int SpeakerStream::callback(const void* /*input*/, void* output, unsigned long frameCount,
                            const PaStreamCallbackTimeInfo* timeInfo, PaStreamCallbackFlags /*flags*/,
                            void* context) {
    auto& speaker = *static_cast<SpeakerStream*>(context);
    const unsigned long silent = std::min(frameCount, speaker.leadIn_);
    std::memset(output, 0, silent * speaker.bytesPerFrame_);
    speaker.leadIn_ -= silent;
    if (silent < frameCount) {
        // Some hosts give no time for the device; then the frames go out now.
        const double sent = timeInfo->outputBufferDacTime > 0.0 ? timeInfo->outputBufferDacTime : timeInfo->currentTime;
        speaker.render_(speaker.context_, static_cast<char*>(output) + silent * speaker.bytesPerFrame_,
                        frameCount - silent, sent + static_cast<double>(silent) / speaker.format_.sampleRate);
    }
    return paContinue;
}

}  // namespace platform::audio::desktop
