#include "sound/ToneGenerator.h"

#include "sound/ToneRenderCallback.h"

namespace sound {
namespace {

// The program's one tone unit and the generator it renders for. Main thread only.
struct CurrentToneUnit {
    std::shared_ptr<platform::AudioOutputUnit> unit;
    const ToneGenerator* generator = nullptr;
};

// Never destroyed: a screen torn down while the process exits must still find
// it (static objects are destroyed in an order no screen controls).
CurrentToneUnit& current() {
    static CurrentToneUnit& current = *new CurrentToneUnit;
    return current;
}

void disposeCurrentToneUnit() {
    CurrentToneUnit& tone = current();
    if (tone.unit) {
        tone.unit->stop();
        tone.unit->dispose();
    }
    tone = CurrentToneUnit{};
}

constexpr platform::AudioComponentDescription kOutputUnitDescription{
    platform::kAudioUnitTypeOutput, platform::kAudioUnitSubTypeRemoteIO, platform::kAudioUnitManufacturerApple, 0, 0};

}  // namespace

ToneGenerator::~ToneGenerator() {
    if (current().generator == this) disposeCurrentToneUnit();
}

void ToneGenerator::setupAudio() {
    disposeCurrentToneUnit();
    const auto component = platform::AudioComponent::findNext(kOutputUnitDescription);
    if (!component) return;
    auto unit = component->instanceNew();
    if (!unit) return;
    unit->setStreamFormat(kToneStreamFormat);
    unit->setRenderCallback({toneRenderCallback, this});
    unit->initialize();
    current() = CurrentToneUnit{std::move(unit), this};
}

platform::AudioOutputUnit* ToneGenerator::toneUnit() { return current().unit.get(); }

}  // namespace sound
