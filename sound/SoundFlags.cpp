#include "sound/SoundFlags.h"

namespace sound {

bool stringSoundsOn = true;
bool soundNotificationOn = true;
std::array<bool, kPitchCount> stringTunedOnce{};
std::array<bool, kPitchCount> beepPlayed{};

void resetProcessValuesForTesting() {
    stringSoundsOn = true;
    soundNotificationOn = true;
    stringTunedOnce.fill(false);
    beepPlayed.fill(false);
}

}  // namespace sound
