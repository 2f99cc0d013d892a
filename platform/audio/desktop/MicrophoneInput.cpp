#include "platform/audio/desktop/MicrophoneInput.h"

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/AudioNotice.h"
#include "platform/audio/AudioQueue.h"
#include "platform/audio/desktop/AudioDevices.h"
#include "platform/audio/desktop/PortAudioSession.h"
#include "platform/audio/desktop/SampleRateConverter.h"
#include "platform/core/Bundle.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

// Frames per blocking read, which is also the piece a sound server hands
// over at a time: 27 ms at 14039 Hz. The guide reads a window every 512
// samples and names a string from the first of them that holds enough of the
// pluck, so every piece the samples wait in delays it; but the server wakes
// once per piece for every stage the sound passes on its way, and smaller
// pieces cost it more than they gain: pieces of 256 samples made it work
// half as hard again as these, for a first reading some 5 ms sooner.
// The thread still sleeps between pieces.
constexpr unsigned long kFramesPerRead = 384;

// How much the device may hold before a read takes it: a piece and a half.
// The sound server gathers samples for about a third of this before it hands
// any over, so a longer hold (a quarter of a second gathered 75 ms) is what
// most delayed the guide.
constexpr double kInputLatencySeconds = 0.04;

// How long a lost microphone rests between attempts to open it again: often
// enough that tuning resumes soon after the device is back, seldom enough not
// to keep a sound server busy with refusals.
constexpr std::chrono::milliseconds kReconnectInterval{1500};

// What the queue says on stderr in the user's language, looked up when it is
// made, on the main thread: the reading thread and the end of the process use them.
struct QueueTexts {
    std::string listeningTo = terminalText("listening to %@");
    std::string lost = terminalText("the microphone is lost (%@); reconnecting");
    std::string back = terminalText("the microphone is back");
    std::string chosenCannotOpen = terminalText("the chosen microphone cannot be opened");
    std::string cannotConvert = terminalText("the samples could not be converted");
    std::string overflowed = terminalText("the audio input overflowed %@ times; those samples were lost");
};

struct StreamCloser {
    void operator()(PaStream* stream) const { Pa_CloseStream(stream); }
};

class MicrophoneQueue final : public AudioQueue {
public:
    MicrophoneQueue(const AudioStreamBasicDescription& format, AudioQueueInputCallback callback, void* userData)
        : AudioQueue(format, callback, userData),
          session_(PortAudioSession::acquire()),
          // Looked up here, on the main thread, for the reading thread to show.
          lostNotice_(Bundle::mainBundle()->localizedString("MicrophoneLostNotice",
                                                           "Microphone lost \u2014 reconnecting\u2026", "")) {
        if (!session_) return;  // acquire() has said why
        if (!configure(chosenInputDevice())) {
            tellOnStderrAndInWindow(terminalText("there is no audio input device; the tuner hears nothing"));
        }
    }

    ~MicrophoneQueue() override {
        dispose();
        if (overflows_ > 0) {
            tellOnStderrAndInWindow(formatMessage(texts_.overflowed, std::vector<LogArg>{overflows_.load()}));
        }
    }

private:
    AudioStatus startCapture() override {
        if (!session_ || parameters_.device == paNoDevice) return kAudioQueueErrCannotStart;
        if (!SampleRateConverter::canConvert(captureRate_, format().mSampleRate)) {
            tellOnStderrAndInWindow(terminalText("the audio input's rate of %g Hz cannot be converted", captureRate_));
            return kAudioQueueErrCannotStart;
        }
        const PaError error = openStream();
        if (error != paNoError) {
            tellOnStderrAndInWindow(terminalText("the audio input cannot start: %@", Pa_GetErrorText(error)));
            return kAudioQueueErrCannotStart;
        }
        reading_ = true;
        reader_ = std::thread([this] { read(); });
        return kAudioNoError;
    }

    void stopCapture() override {
        {
            std::lock_guard lock(wakeMutex_);
            reading_ = false;
        }
        wake_.notify_all();
        if (reader_.joinable()) reader_.join();
        closeStream();
        if (lost_) {
            clearAudioNotice(lostNotice_);
            lost_ = false;
        }
    }

    // Capture from `index` at the queue's rate when the device offers it, else
    // at the device's own; false (and no device) when there is no such device.
    bool configure(PaDeviceIndex index) {
        const PaDeviceInfo* device = index == paNoDevice ? nullptr : Pa_GetDeviceInfo(index);
        if (device == nullptr) {
            parameters_.device = paNoDevice;
            return false;
        }
        parameters_.device = index;
        parameters_.channelCount = 1;
        parameters_.sampleFormat = paFloat32;
        parameters_.suggestedLatency = std::max(device->defaultLowInputLatency, kInputLatencySeconds);
        captureRate_ = Pa_IsFormatSupported(&parameters_, nullptr, format().mSampleRate) == paFormatIsSupported
                           ? format().mSampleRate
                           : device->defaultSampleRate;
        return true;
    }

    // Runs on the reading thread: the user chose another microphone in the
    // window; capture moves to it, or stays where it was when it cannot open.
    void followChoice(PaDeviceIndex chosen) {
        const PaStreamParameters previous = parameters_;
        const double previousRate = captureRate_;
        closeStream();
        if (configure(chosen) && SampleRateConverter::canConvert(captureRate_, format().mSampleRate) &&
            openStream() == paNoError) {
            inputLost();  // no buffer joins the two microphones
            // The window says which microphone listens now, in place of the one before.
            clearAudioNotice(listeningNotice_);
            listeningNotice_ = tellOnStderrAndInWindow(
                formatMessage(texts_.listeningTo, std::vector<LogArg>{Pa_GetDeviceInfo(chosen)->name}));
            return;
        }
        parameters_ = previous;
        captureRate_ = previousRate;
        if (openStream() != paNoError) lose(texts_.chosenCannotOpen);
    }

    // A started stream and a fresh converter, or the reason there is none.
    PaError openStream() {
        PaStream* stream = nullptr;
        PaError error = Pa_OpenStream(&stream, &parameters_, nullptr, captureRate_, kFramesPerRead, paClipOff,
                                      nullptr, nullptr);
        if (error != paNoError) return error;
        stream_.reset(stream);
        error = Pa_StartStream(stream);
        if (error != paNoError) {
            stream_.reset();
            return error;
        }
        converter_ = std::make_unique<SampleRateConverter>(captureRate_, format().mSampleRate);
        return paNoError;
    }

    void closeStream() {
        // A stream whose device has gone cannot drain; abort it.
        if (stream_) Pa_AbortStream(stream_.get());
        stream_.reset();
    }

    // Runs on the reading thread: blocking reads, converted and put into the
    // queue's buffers on this thread, so that a piece wakes no other thread of
    // the queue. When the device fails the tuner hears silence at once, and
    // the stream is opened again every little while until the device is back
    // or capture stops.
    void read() {
        std::vector<float> input(kFramesPerRead);
        std::vector<float> converted;
        std::vector<int16_t> samples;
        while (reading_) {
            if (!stream_ && !reconnect()) continue;
            if (const PaDeviceIndex chosen = chosenInputDevice(); chosen != paNoDevice && chosen != parameters_.device) {
                followChoice(chosen);
                continue;
            }
            const PaError error = Pa_ReadStream(stream_.get(), input.data(), kFramesPerRead);
            if (error == paInputOverflowed) {
                ++overflows_;  // the frames read are good; some before them were lost
            } else if (error != paNoError) {
                lose(Pa_GetErrorText(error));
                continue;
            }
            converted.clear();
            if (!converter_->process(input, /*last=*/false, converted)) {
                lose(texts_.cannotConvert);
                continue;
            }
            samples.clear();
            appendSamples16(converted, samples);
            deliverHere(samples);
        }
    }

    // Runs on the reading thread.
    void lose(const std::string& why) {
        closeStream();
        inputLost();
        if (lost_) return;
        lost_ = true;
        tellOnStderr(formatMessage(texts_.lost, std::vector<LogArg>{why}));
        showAudioNotice(lostNotice_);
    }

    // Runs on the reading thread: waits a while, then tries the device again.
    bool reconnect() {
        {
            std::unique_lock lock(wakeMutex_);
            if (wake_.wait_for(lock, kReconnectInterval, [this] { return !reading_; })) return false;
        }
        if (openStream() != paNoError) return false;
        lost_ = false;
        tellOnStderr(texts_.back);
        clearAudioNotice(lostNotice_);
        return true;
    }

    const std::shared_ptr<PortAudioSession> session_;
    const std::string lostNotice_;
    std::string listeningNotice_;  // the reading thread's
    const QueueTexts texts_;
    PaStreamParameters parameters_{paNoDevice, 0, 0, 0.0, nullptr};
    double captureRate_ = 0.0;
    std::unique_ptr<PaStream, StreamCloser> stream_;
    std::unique_ptr<SampleRateConverter> converter_;
    std::atomic<bool> reading_{false};
    std::mutex wakeMutex_;
    std::condition_variable wake_;  // ends a reconnection's rest when capture stops
    bool lost_ = false;             // the reading thread's while it runs
    std::atomic<uint64_t> overflows_{0};
    std::thread reader_;
};

}  // namespace

void installMicrophoneInput() {
    AudioQueue::setInputFactory(
        [](const AudioStreamBasicDescription& format, AudioQueueInputCallback callback, void* userData) {
            return std::make_unique<MicrophoneQueue>(format, callback, userData);
        });
}

bool hasInputDevice() {
    const auto session = PortAudioSession::acquire();
    return session && chosenInputDevice() != paNoDevice;
}

}  // namespace platform::audio::desktop
