#pragma once
// The tuning loop's process-wide values: one copy for the whole program,
// shared by every tuner screen, touched on the main thread only.

#include <cstdint>
#include <string>

namespace tuner {

// Level below which the display is cleared.
extern double bottomLimit;
// Level above which the frequency is matched.
extern double topLimit;
// The sensitivity level last taken from the slider or restored from the settings.
extern int64_t micSensitivityValue;
// The frequency text and the note name of the last match; never cleared.
extern std::string lastFrequencyLabel;
extern std::string lastNoteName;

// Puts every value above back as the program starts with it (tests that
// stand for a freshly started program).
void resetProcessValuesForTesting();

}  // namespace tuner
