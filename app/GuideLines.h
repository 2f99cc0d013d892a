#pragma once
// `analyze FILE --guide`: the guide's own readings of a recording, one per hop
// — the time of the last sample heard, the fundamental in hertz, the nearest
// course, its note and the offset from its pitch in cents, and the nearest
// note of the chromatic scale with its offset — as text or as one JSON
// object per line (nulls where the hop has no fundamental).

#include <iosfwd>
#include <string>

#include "guide/GuideReading.h"

namespace app {

std::string guideTextLine(const guide::GuideReading& reading, double sampleRate);
std::string guideJsonLine(const guide::GuideReading& reading, double sampleRate);

}  // namespace app
