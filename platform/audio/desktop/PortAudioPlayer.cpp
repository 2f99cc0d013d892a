#include "platform/audio/desktop/PortAudioPlayer.h"

#include <portaudio.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform/audio/desktop/AudioDevices.h"
#include "platform/audio/desktop/OutputUnavailable.h"
#include "platform/audio/desktop/PortAudioSession.h"
#include "platform/core/RunLoop.h"

namespace platform::audio::desktop {
namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// The whole file as interleaved float frames; empty when unreadable.
struct DecodedSound {
    std::vector<float> samples;
    int channels = 0;
    int sampleRate = 0;
    size_t frames() const { return channels == 0 ? 0 : samples.size() / static_cast<size_t>(channels); }
};

DecodedSound decode(const std::filesystem::path& file) {
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndfileCloser> sound(sf_open(file.c_str(), SFM_READ, &info));
    if (!sound || info.channels <= 0 || info.samplerate <= 0) return {};
    DecodedSound decoded;
    decoded.channels = info.channels;
    decoded.sampleRate = info.samplerate;
    // Some decoders (MP3) only estimate the length up front: read until the end.
    constexpr sf_count_t kChunkFrames = 4096;
    std::vector<float> chunk(static_cast<size_t>(kChunkFrames * info.channels));
    sf_count_t read = 0;
    while ((read = sf_readf_float(sound.get(), chunk.data(), kChunkFrames)) > 0) {
        decoded.samples.insert(decoded.samples.end(), chunk.begin(), chunk.begin() + read * info.channels);
    }
    return decoded;
}

class PortAudioPlayer final : public AudioPlayer {
public:
    // Holds on to the session from the start, so that the next player does
    // not start PortAudio afresh.
    PortAudioPlayer(const std::filesystem::path& file, DecodedSound sound)
        : AudioPlayer(file, static_cast<double>(sound.frames()) / sound.sampleRate),
          sound_(std::move(sound)),
          session_(PortAudioSession::acquire()) {}

    // Stops at once: the sound falls silent with its player.
    ~PortAudioPlayer() override { closeStream(); }

    // Until the last frame has reached the device, on the stream's clock;
    // a stream whose device failed plays nothing more.
    bool isPlaying() const override {
        if (stream_ == nullptr || Pa_IsStreamActive(stream_) != 1) return false;
        const double end = soundEnd_.load(std::memory_order_acquire);
        return end < 0.0 || Pa_GetStreamTime(stream_) < end;
    }

private:
    // How often the main thread looks whether a sound that should have ended has.
    static constexpr double kEndCheckInterval = 0.1;

    // A stream of its own for each sound: a stream kept from an earlier sound
    // may belong to a device that has gone and come back since (a sound server
    // restarted), and PortAudio never finishes starting such a stream.
    void startSound() override {
        closeStream();
        ++soundNumber_;
        position_ = 0;
        soundEnd_.store(-1.0, std::memory_order_release);
        const PaError error = openStream();
        if (error != paNoError) {
            reportOutputUnavailable(Pa_GetErrorText(error));
            return;
        }
        closeAfterEnd(duration());
    }

    // Without an output device, or when it refuses the file's format, there
    // is no stream and nothing plays.
    PaError openStream() {
        if (!session_) return paNotInitialized;
        const PaDeviceIndex device = chosenOutputDevice();
        const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
        if (info == nullptr) return paDeviceUnavailable;
        PaStreamParameters output{};
        output.device = device;
        output.channelCount = sound_.channels;
        output.sampleFormat = paFloat32;
        output.suggestedLatency = info->defaultLowOutputLatency;
        PaError error = Pa_OpenStream(&stream_, nullptr, &output, sound_.sampleRate, paFramesPerBufferUnspecified,
                                      paClipOff, &streamCallback, this);
        if (error != paNoError) {
            stream_ = nullptr;
            return error;
        }
        error = Pa_StartStream(stream_);
        if (error != paNoError) closeStream();
        return error;
    }

    // Closes the stream once the sound has ended, looking first after
    // `delay` seconds and then every little while, so that the sound server
    // keeps no stream for a silent player. On the main run loop: by then the
    // player may be gone, or playing its next sound on a new stream.
    void closeAfterEnd(double delay) {
        RunLoop::main()->performAfterDelay(delay, [self = std::weak_ptr(self_), sound = soundNumber_] {
            const auto alive = self.lock();
            if (!alive || (*alive)->soundNumber_ != sound) return;
            PortAudioPlayer& player = **alive;
            if (player.isPlaying()) {
                player.closeAfterEnd(kEndCheckInterval);
            } else {
                player.closeStream();
            }
        });
    }

    // Aborted, not stopped: what is left to play out is silence after the
    // sound, and a stream whose device failed mid-sound never finishes stopping.
    void closeStream() {
        if (stream_ == nullptr) return;
        Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
        stream_ = nullptr;
    }

    // Runs on PortAudio's thread: copies the next frames, silence after the
    // end. The stream runs on until the main thread closes it: a stream that
    // completes waits for its device to drain, which a sound server may take
    // seconds to report.
    static int streamCallback(const void* /*input*/, void* output, unsigned long frameCount,
                              const PaStreamCallbackTimeInfo* timeInfo, PaStreamCallbackFlags /*flags*/,
                              void* context) {
        auto& player = *static_cast<PortAudioPlayer*>(context);
        const size_t channels = static_cast<size_t>(player.sound_.channels);
        const size_t available = player.sound_.frames() - player.position_;
        const size_t frames = std::min<size_t>(frameCount, available);
        float* out = static_cast<float*>(output);
        std::memcpy(out, player.sound_.samples.data() + player.position_ * channels, frames * channels * sizeof(float));
        std::fill(out + frames * channels, out + frameCount * channels, 0.0f);
        player.position_ += frames;
        if (frames > 0 && player.position_ == player.sound_.frames()) {
            // When the last frame of this buffer reaches the device.
            const double sent =
                timeInfo->outputBufferDacTime > 0.0 ? timeInfo->outputBufferDacTime : timeInfo->currentTime;
            player.soundEnd_.store(sent + static_cast<double>(frames) / player.sound_.sampleRate,
                                   std::memory_order_release);
        }
        return paContinue;
    }

    const DecodedSound sound_;
    const std::shared_ptr<PortAudioSession> session_;
    PaStream* stream_ = nullptr;
    size_t position_ = 0;  // next frame; the callback's while the stream runs
    // On the stream's clock, when the sound's last frame reaches the device;
    // negative until the callback has handed it over.
    std::atomic<double> soundEnd_{-1.0};
    // Which sound the stream plays: changed only while no stream runs.
    uint64_t soundNumber_ = 0;
    // The player as the main run loop finds it after a sound, while it lives.
    const std::shared_ptr<PortAudioPlayer*> self_ = std::make_shared<PortAudioPlayer*>(this);
};

}  // namespace

std::unique_ptr<AudioPlayer> makePortAudioPlayer(const std::filesystem::path& file) {
    DecodedSound sound = decode(file);
    if (sound.frames() == 0) return nullptr;
    return std::make_unique<PortAudioPlayer>(file, std::move(sound));
}

}  // namespace platform::audio::desktop
