#pragma once
// `analyze FILE --guide`: the guide's own readings of a recording, one per hop
// — the time of the last sample heard, where the needle points in hertz (the
// pair's centre once the course's two strings are heard, else the window's
// fundamental), the nearest course (or the chosen one, however far), its note
// and the offset from its pitch in cents, the nearest note of the chromatic
// scale with its offset, the cents between the course's two strings and, on
// the octave course, the octave string's offset — as text or as one JSON
// object per line (nulls where the hop has no fundamental or a pair is not
// measured).

#include <iosfwd>
#include <string>

#include "guide/GuideReading.h"
#include "sound/Courses.h"

namespace app {

// `chosen`: the course the user chose, or null for the nearest.
std::string guideTextLine(const guide::GuideReading& reading, double sampleRate, const sound::Course* chosen);
std::string guideJsonLine(const guide::GuideReading& reading, double sampleRate, const sound::Course* chosen);

}  // namespace app
