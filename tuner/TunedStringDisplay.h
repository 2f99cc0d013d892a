#pragma once
// The picture of the tuned string: six strings, each drawn at six sizes, and
// two tables that give every screen class the size its layout uses and the
// picture view that layout holds. Keeps no state. Main thread only.

#include <cstdint>

#include "tuner/ScreenOutlets.h"

namespace tuner {

// Shows the picture of string `stringIndex` (1 to 6) in the picture view of
// `outlets` and at the size that the device's screen class uses; an index, an
// idiom or a screen height the tables do not know changes nothing.
void displayTunedString(const ScreenOutlets& outlets, int64_t stringIndex);

}  // namespace tuner
