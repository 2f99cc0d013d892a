#include "sound/ConfirmationBeep.h"

#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "sound/ResourcePlayer.h"
#include "sound/SettingSwitch.h"

namespace sound {

void ConfirmationBeep::prepareBeepSound() { beepSoundPlayer_ = playerForResource(kBeepSoundFile); }

void ConfirmationBeep::play1stSoundOnce() { playSoundOnce(1); }
void ConfirmationBeep::play2ndSoundOnce() { playSoundOnce(2); }
void ConfirmationBeep::play3rdSoundOnce() { playSoundOnce(3); }
void ConfirmationBeep::play4thSoundOnce() { playSoundOnce(4); }
void ConfirmationBeep::play5thSoundOnce() { playSoundOnce(5); }

void ConfirmationBeep::playSoundOnce(size_t k) {
    if (k < 1 || k > kPitchCount) return;
    confirmations_->setTunedOnce(k);
    if (soundNotificationOn_ && !confirmations_->beepPlayed()[k - 1]) {
        // One player serves every pitch: a beep still sounding runs on.
        if (beepSoundPlayer_) beepSoundPlayer_->play();
        confirmations_->setBeepPlayed(k);
        // The reset holds the flags, not this beep: it runs even if the
        // screen is gone by then. Earlier resets are never cancelled.
        platform::RunLoop::main()->performAfterDelay(
            kRearmDelay, [confirmations = confirmations_] { confirmations->resetTuningBools(); });
    }
    if (k == kPitchCount && !soundNotificationOn_) platform::NSLog("Sonido desactivado");
}

void ConfirmationBeep::soundNotificationAction(platform::Switch& sender) {
    applySettingSwitch(sender, soundNotificationOn_, kSoundNotificationEnabledKey);
}

std::map<std::string, platform::Control::Action> ConfirmationBeep::actions() {
    return {{"soundNotificationAction:", platform::actionFor(this, &ConfirmationBeep::soundNotificationAction)}};
}

}  // namespace sound
