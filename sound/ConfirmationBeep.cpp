#include "sound/ConfirmationBeep.h"

#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "sound/ResourcePlayer.h"
#include "sound/SettingSwitch.h"
#include "sound/SoundFlags.h"

namespace sound {

void ConfirmationBeep::prepareBeepSound() { beepSoundPlayer_ = playerForResource(kBeepSoundFile); }

void ConfirmationBeep::play1stSoundOnce() { playSoundOnce(1); }
void ConfirmationBeep::play2ndSoundOnce() { playSoundOnce(2); }
void ConfirmationBeep::play3rdSoundOnce() { playSoundOnce(3); }
void ConfirmationBeep::play4thSoundOnce() { playSoundOnce(4); }
void ConfirmationBeep::play5thSoundOnce() { playSoundOnce(5); }

void ConfirmationBeep::playSoundOnce(size_t k) {
    if (k < 1 || k > kPitchCount) return;
    const size_t pitch = k - 1;
    stringTunedOnce[pitch] = true;
    if (soundNotificationOn && !beepPlayed[pitch]) {
        // One player serves every pitch: a beep still sounding runs on.
        if (beepSoundPlayer_) beepSoundPlayer_->play();
        beepPlayed[pitch] = true;
        // The flags are process-wide, so the reset needs no screen: it runs
        // even if this one is gone by then. Earlier resets are never cancelled.
        platform::RunLoop::main().performAfterDelay(kRearmDelay, &ConfirmationBeep::resetTuningBools);
    }
    if (k == kPitchCount && !soundNotificationOn) platform::NSLog("Sonido desactivado");
}

void ConfirmationBeep::soundNotificationAction(platform::Control* sender) {
    applySettingSwitch(sender, soundNotificationOn, kSoundNotificationEnabledKey);
}

void ConfirmationBeep::resetTuningBools() { beepPlayed.fill(false); }

void ConfirmationBeep::resetFirstTuning() { stringTunedOnce.fill(false); }

std::map<std::string, platform::Control::Action> ConfirmationBeep::actions() {
    return {{"soundNotificationAction:", [this](platform::Control* sender) { soundNotificationAction(sender); }}};
}

}  // namespace sound
