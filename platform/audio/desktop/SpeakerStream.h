#pragma once
// A stream on the chosen loudspeaker that plays its sound whole, from the
// first frame to the last, through a sound server as well as on a card.
//
// What ALSA's pulse plugin does to a new stream, measured on our own sound
// server's speaker: the first frames written are lost, about the stream's
// latency and 40 ms more, whoever writes them (a tone, a file, a plain ALSA
// writer); and a stream stopped when its last frame is sent loses what the
// server still holds. A few milliseconds of latency run dry whenever both
// cores are busy, and the speaker falls silent for tens of milliseconds. So a
// speaker stream asks for a latency a busy machine does not starve, starts
// with a lead-in of silence longer than what a start loses, and tells its
// owner when each frame will have been heard, so that the owner closes it only
// after the last one.

#include <portaudio.h>

#include <memory>

namespace platform::audio::desktop {

class SpeakerStream {
public:
    // Fills `frameCount` frames at `output`. Runs on PortAudio's thread: it
    // must not block, allocate or log. `heardAt` is when the first of them
    // reaches the listener, on the stream's clock (now()).
    using Render = void (*)(void* context, void* output, unsigned long frameCount, double heardAt);

    struct Format {
        int channels = 0;
        PaSampleFormat sampleFormat = paInt16;
        double sampleRate = 0.0;
    };

    // A running stream on the chosen (else the default) output device that
    // pulls `render` after its lead-in. Null when there is no device or it
    // refuses the stream: the run is told once (OutputUnavailable.h).
    static std::unique_ptr<SpeakerStream> start(const Format& format, Render render, void* context);

    // Aborts: whatever has not been heard yet is cut off.
    ~SpeakerStream();
    SpeakerStream(const SpeakerStream&) = delete;
    SpeakerStream& operator=(const SpeakerStream&) = delete;

    // False once the device has failed: the stream plays nothing more.
    bool isActive() const;
    // The stream's clock, in seconds.
    double now() const;

private:
    SpeakerStream(const Format& format, Render render, void* context);

    static int callback(const void* input, void* output, unsigned long frameCount,
                        const PaStreamCallbackTimeInfo* timeInfo, PaStreamCallbackFlags flags, void* context);

    const Format format_;
    const Render render_;
    void* const context_;
    const unsigned long bytesPerFrame_;
    PaStream* stream_ = nullptr;
    unsigned long leadIn_ = 0;  // frames of silence still to come; the callback's once started
};

}  // namespace platform::audio::desktop
