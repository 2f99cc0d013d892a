#pragma once
// The process-wide switches and flags of the tuner screen's recorded sounds:
// one copy for the whole program, however many tuner screens exist. Touched
// on the main thread only.

#include <array>
#include <cstddef>

namespace sound {

// The detectable pitches, numbered 1 to 5 from the highest course: E5, A4, E4, C5, G4.
inline constexpr size_t kPitchCount = 5;

// Tapping a string plays its recording (the setting "stringSoundsEnabled").
extern bool stringSoundsOn;
// A tuned string is confirmed with a beep (the setting "soundNotificationEnabled").
extern bool soundNotificationOn;
// Pitch k (index k - 1) has been confirmed at least once; only resetFirstTuning clears them.
extern std::array<bool, kPitchCount> stringTunedOnce;
// Pitch k (index k - 1) has beeped since the last resetTuningBools.
extern std::array<bool, kPitchCount> beepPlayed;

// Puts every value above back as the program starts with it (tests that
// stand for a freshly started program).
void resetProcessValuesForTesting();

}  // namespace sound
