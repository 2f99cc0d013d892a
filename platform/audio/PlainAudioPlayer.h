#pragma once
// The plain sound-file player: it reads only the file's headers, plays nothing,
// and keeps one process-wide record of the sounds it was asked to play, with
// the times on the main run loop's clock (RunLoop::main()->elapsed()). A sound
// counts as sounding for the file's length from its start, so a play() in that
// time runs on, as it does on a sound card. Tests and the console read the record.
//
// Main thread only.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/AudioPlayer.h"

namespace platform {

// One sound that started.
struct PlayedSound {
    std::string fileName;  // e.g. "beep-full.wav"
    double startedAt;      // seconds on the main loop's clock
    // When it fell silent: its natural end, or the moment its player was
    // released while it still sounded.
    double endedAt;
};

class PlainAudioPlayer final : public AudioPlayer {
public:
    // Null when `file` is missing or is not a WAVE or MP3 file.
    static std::unique_ptr<AudioPlayer> withContentsOfFile(const std::filesystem::path& file);

    // Every sound started since the last clearPlayed(), oldest first.
    static std::vector<PlayedSound> played();
    static void clearPlayed();

    // Silences the sound if it still sounds: its record ends now.
    ~PlainAudioPlayer() override;
    bool isPlaying() const override;

private:
    PlainAudioPlayer(std::filesystem::path file, double duration) : AudioPlayer(std::move(file), duration) {}
    void startSound() override;

    uint64_t serial_ = 0;  // the record entry of the sound last started; 0 before any
    double endsAt_ = 0.0;
};

}  // namespace platform
