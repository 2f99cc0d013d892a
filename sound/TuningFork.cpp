#include "sound/TuningFork.h"

#include <array>

#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"
#include "sound/Courses.h"
#include "sound/ToneGenerator.h"
#include "sound/ToneOscillators.h"

namespace sound {
namespace {

constexpr TuningForkNote forkNote(std::string_view selector, const Course& course) {
    return {selector, course.note, course.frequencyText, course.frequency};
}

// In the order of the buttons, which is the courses' order.
constexpr std::array<TuningForkNote, 5> kNotes{{
    forkNote("playE659_3Hz:", kCourses[0]),
    forkNote("playA440Hz:", kCourses[1]),
    forkNote("playE329_6Hz:", kCourses[2]),
    forkNote("playC523_2Hz:", kCourses[3]),
    forkNote("playG392Hz:", kCourses[4]),
}};

void show(const std::shared_ptr<platform::Label>& label, std::string_view text) {
    if (label) label->setText(std::string(text));
}

}  // namespace

std::span<const TuningForkNote> TuningFork::notes() { return kNotes; }

const TuningForkNote* TuningFork::noteNamed(std::string_view name) {
    for (const TuningForkNote& note : kNotes) {
        if (note.name == name) return &note;
    }
    return nullptr;
}

void TuningFork::playE659_3Hz(platform::Control* /*sender*/) { play(kNotes[0]); }
void TuningFork::playA440Hz(platform::Control* /*sender*/) { play(kNotes[1]); }
void TuningFork::playE329_6Hz(platform::Control* /*sender*/) { play(kNotes[2]); }
void TuningFork::playC523_2Hz(platform::Control* /*sender*/) { play(kNotes[3]); }
void TuningFork::playG392Hz(platform::Control* /*sender*/) { play(kNotes[4]); }

void TuningFork::play(const TuningForkNote& note) {
    show(tfnoteDisplay_, note.name);
    show(tfFreqLabel_, note.frequencyText);
    toneFrequency.store(note.frequency, std::memory_order_relaxed);
    setCurPlayState(kPlaying);
    if (auto* unit = ToneGenerator::toneUnit()) unit->start();
}

void TuningFork::stopFreqPlay(platform::Control* /*sender*/) {
    if (curPlayState_ != kPlaying) return;
    setCurPlayState(kStopped);
    if (auto* unit = ToneGenerator::toneUnit()) unit->stop();
}

void TuningFork::setCurPlayState(int64_t curPlayState) {
    curPlayState_ = curPlayState;
    if (playStateObserver_) playStateObserver_(curPlayState_ == kPlaying);
}

void TuningFork::disableTemporarilySoundConfirmation(platform::Control* /*sender*/) { markTuningForkInUse(1); }

void TuningFork::enableSoundConfirmation(platform::Control* /*sender*/) { markTuningForkInUse(0); }

void TuningFork::markTuningForkInUse(int64_t inUse) {
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    defaults->setInteger(inUse, kCurrentlyUsingTuningForkKey);
    defaults->synchronize();
    platform::NSLog("Tuning fork is enabled: %d", inUse);
}

std::map<std::string, platform::Control::Action> TuningFork::actions() {
    std::map<std::string, platform::Control::Action> table;
    for (const TuningForkNote& note : kNotes) {
        table.emplace(note.selector, [this, &note](platform::Control*) { play(note); });
    }
    table.emplace("stopFreqPlay:", [this](platform::Control* sender) { stopFreqPlay(sender); });
    table.emplace("disableTemporarilySoundConfirmation:",
                  [this](platform::Control* sender) { disableTemporarilySoundConfirmation(sender); });
    table.emplace("enableSoundConfirmation:", [this](platform::Control* sender) { enableSoundConfirmation(sender); });
    return table;
}

}  // namespace sound
