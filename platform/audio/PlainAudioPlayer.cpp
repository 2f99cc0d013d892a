#include "platform/audio/PlainAudioPlayer.h"

#include <mutex>

#include "platform/core/RunLoop.h"
#include "platform/audio/SoundFileInfo.h"

namespace platform {
namespace {

struct Entry {
    uint64_t serial;
    PlayedSound sound;
};

struct Record {
    std::mutex mutex;
    std::vector<Entry> entries;
    uint64_t lastSerial = 0;
};

Record& record() {
    static Record instance;
    return instance;
}

double clock() { return RunLoop::main().elapsed(); }

}  // namespace

std::unique_ptr<AudioPlayer> PlainAudioPlayer::withContentsOfFile(const std::filesystem::path& file) {
    const auto info = soundFileInfo(file);
    if (!info) return nullptr;
    return std::unique_ptr<AudioPlayer>(new PlainAudioPlayer(file, info->duration()));
}

std::vector<PlayedSound> PlainAudioPlayer::played() {
    auto& r = record();
    std::lock_guard lock(r.mutex);
    std::vector<PlayedSound> sounds;
    sounds.reserve(r.entries.size());
    for (const Entry& entry : r.entries) sounds.push_back(entry.sound);
    return sounds;
}

void PlainAudioPlayer::clearPlayed() {
    auto& r = record();
    std::lock_guard lock(r.mutex);
    r.entries.clear();
}

PlainAudioPlayer::~PlainAudioPlayer() {
    if (!isPlaying()) return;
    const double now = clock();
    auto& r = record();
    std::lock_guard lock(r.mutex);
    for (Entry& entry : r.entries) {
        if (entry.serial == serial_) entry.sound.endedAt = now;
    }
}

bool PlainAudioPlayer::isPlaying() const { return serial_ != 0 && clock() < endsAt_; }

void PlainAudioPlayer::startSound() {
    const double now = clock();
    endsAt_ = now + duration();
    auto& r = record();
    std::lock_guard lock(r.mutex);
    serial_ = ++r.lastSerial;
    r.entries.push_back({serial_, {file().filename().string(), now, endsAt_}});
}

}  // namespace platform
