#include "platform/audio/PlainAudioPlayer.h"

#include <atomic>

#include "platform/audio/SoundFileInfo.h"
#include "platform/core/Installed.h"
#include "platform/core/RunLoop.h"

namespace platform {
namespace {

struct Entry {
    uint64_t serial;
    PlayedSound sound;
};

using Record = std::vector<Entry>;

// Cleared with the installed services, as a fresh process starts.
Installed<Record>& record() {
    static Installed<Record> instance;
    return instance;
}

// Never reused, not even after the record is cleared, so a player that outlives
// a clear cannot end another player's sound.
uint64_t nextSerial() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

double clock() { return RunLoop::main()->elapsed(); }

}  // namespace

std::unique_ptr<AudioPlayer> PlainAudioPlayer::withContentsOfFile(const std::filesystem::path& file) {
    const auto info = soundFileInfo(file);
    if (!info) return nullptr;
    return std::unique_ptr<AudioPlayer>(new PlainAudioPlayer(file, info->duration()));
}

std::vector<PlayedSound> PlainAudioPlayer::played() {
    std::vector<PlayedSound> sounds;
    for (const Entry& entry : record().get()) sounds.push_back(entry.sound);
    return sounds;
}

void PlainAudioPlayer::clearPlayed() { record().reset(); }

PlainAudioPlayer::~PlainAudioPlayer() {
    if (!isPlaying()) return;
    const double now = clock();
    record().with([this, now](Record& entries) {
        for (Entry& entry : entries) {
            if (entry.serial == serial_) entry.sound.endedAt = now;
        }
    });
}

bool PlainAudioPlayer::isPlaying() const { return serial_ != 0 && clock() < endsAt_; }

void PlainAudioPlayer::startSound() {
    const double now = clock();
    endsAt_ = now + duration();
    serial_ = nextSerial();
    record().with([this, now](Record& entries) {
        entries.push_back({serial_, {file().filename().string(), now, endsAt_}});
    });
}

}  // namespace platform
