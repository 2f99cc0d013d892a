#pragma once
// The sound-file player: made from one sound file, it plays the whole file
// once, at the file's own level, each time it is sent play(). A play() while
// the sound still sounds lets it run on; releasing the player silences it.
//
// Which kind of player is made is decided by an installed factory: the
// desktop installs one that decodes the file and plays it on the sound card;
// until then (and in tests) players are plain ones, which play nothing and
// keep a record of what they were asked to play (PlainAudioPlayer.h).
// Either kind tells the playback observer (PlaybackObserver.h) when a sound
// starts.
//
// Main thread only.

#include <filesystem>
#include <functional>
#include <memory>

namespace platform {

class AudioPlayer {
public:
    // Makes a player of a file; null when the file is missing or is no sound
    // it can play.
    using Factory = std::function<std::unique_ptr<AudioPlayer>(const std::filesystem::path& file)>;

    // A player of `file` from the installed factory; null when the file is
    // missing or unreadable.
    static std::unique_ptr<AudioPlayer> withContentsOfFile(const std::filesystem::path& file);
    // Installs what makes players from now on; null goes back to plain players.
    static void setFactory(Factory factory);

    virtual ~AudioPlayer() = default;
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    // Starts the sound from its beginning, unless it is still sounding: then
    // it runs on undisturbed.
    void play();
    // Whether the sound started by play() is still sounding.
    virtual bool isPlaying() const = 0;

    const std::filesystem::path& file() const { return file_; }
    // The length of the sound in seconds.
    double duration() const { return duration_; }

protected:
    AudioPlayer(std::filesystem::path file, double duration) : file_(std::move(file)), duration_(duration) {}

    // Starts the sound from its beginning; called only while it is not sounding.
    virtual void startSound() = 0;

private:
    const std::filesystem::path file_;
    const double duration_;
};

}  // namespace platform
