#include "platform/audio/desktop/PortAudioPlayer.h"

#include <portaudio.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform/audio/desktop/OutputUnavailable.h"
#include "platform/audio/desktop/PortAudioSession.h"
#include "platform/audio/desktop/SpeakerStream.h"
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
    ~PortAudioPlayer() override = default;

    // Until the last frame has been heard, on the stream's clock; a stream
    // whose device failed plays nothing more.
    bool isPlaying() const override {
        if (!speaker_ || !speaker_->isActive()) return false;
        const double end = soundEnd_.load(std::memory_order_acquire);
        return end < 0.0 || speaker_->now() < end;
    }

private:
    // How often the main thread looks whether a sound that should have ended has.
    static constexpr double kEndCheckInterval = 0.1;

    // A stream of its own for each sound: a stream kept from an earlier sound
    // may belong to a device that has gone and come back since (a sound server
    // restarted), and PortAudio never finishes starting such a stream.
    void startSound() override {
        speaker_.reset();
        ++soundNumber_;
        position_ = 0;
        soundEnd_.store(-1.0, std::memory_order_release);
        // Without an output device, or when it refuses the file's format, there
        // is no stream and nothing plays.
        if (!session_) {
            reportOutputUnavailable(Pa_GetErrorText(paNotInitialized));
            return;
        }
        speaker_ = SpeakerStream::start({sound_.channels, paFloat32, static_cast<double>(sound_.sampleRate)},
                                        &renderSound, this);
        if (speaker_) closeAfterEnd(duration());
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
                player.speaker_.reset();
            }
        });
    }

    // Runs on PortAudio's thread: copies the next frames, silence after the
    // end. The stream runs on until the main thread closes it: a stream that
    // completes waits for its device to drain, which a sound server may take
    // seconds to report.
    static void renderSound(void* context, void* output, unsigned long frameCount, double heardAt) {
        auto& player = *static_cast<PortAudioPlayer*>(context);
        const size_t channels = static_cast<size_t>(player.sound_.channels);
        const size_t available = player.sound_.frames() - player.position_;
        const size_t frames = std::min<size_t>(frameCount, available);
        float* out = static_cast<float*>(output);
        std::memcpy(out, player.sound_.samples.data() + player.position_ * channels, frames * channels * sizeof(float));
        std::fill(out + frames * channels, out + frameCount * channels, 0.0f);
        player.position_ += frames;
        if (frames > 0 && player.position_ == player.sound_.frames()) {
            player.soundEnd_.store(heardAt + static_cast<double>(frames) / player.sound_.sampleRate,
                                   std::memory_order_release);
        }
    }

    const DecodedSound sound_;
    const std::shared_ptr<PortAudioSession> session_;
    size_t position_ = 0;  // next frame; the callback's while the stream runs
    // On the stream's clock, when the sound's last frame has been heard;
    // negative until the callback has handed it over.
    std::atomic<double> soundEnd_{-1.0};
    // Which sound the stream plays: changed only while no stream runs.
    uint64_t soundNumber_ = 0;
    // The player as the main run loop finds it after a sound, while it lives.
    const std::shared_ptr<PortAudioPlayer*> self_ = std::make_shared<PortAudioPlayer*>(this);
    // Last, so that it stops before anything its callback touches goes.
    std::unique_ptr<SpeakerStream> speaker_;
};

}  // namespace

std::unique_ptr<AudioPlayer> makePortAudioPlayer(const std::filesystem::path& file) {
    DecodedSound sound = decode(file);
    if (sound.frames() == 0) return nullptr;
    return std::make_unique<PortAudioPlayer>(file, std::move(sound));
}

}  // namespace platform::audio::desktop
