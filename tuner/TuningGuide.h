#pragma once
// The tuning guide: which course a sounding string is nearest to, how many
// cents it lies from that course's pitch, and which way to turn the peg. It
// stands beside the match, which only lights up within the pitch's window:
// the guide leads a string there from as far as 100 cents away, which is
// further than any string drifts but short of the next course (the pitches
// lie 200 to 400 cents apart). Used by the tuner screen and the commands.

#include <optional>

#include "sound/Courses.h"

namespace tuner {

// The guide names a course only this close to its pitch.
inline constexpr double kGuideRangeCents = 100.0;
// Within this of the pitch a string is in tune: the match windows' width.
inline constexpr double kInTuneCents = 5.0;

enum class TuningDirection { Up, Down, InTune };

struct Guidance {
    const sound::Course* course;  // the nearest course; the third's octave string counts as the first's E5
    double targetFrequency;       // hertz, equal-tempered with A4 at 440 Hz
    double cents;                 // signed, to a tenth: below the pitch is negative
    TuningDirection direction;    // from the offset to a tenth, so that number and words agree
};

// The guidance for a measured `frequency` in hertz; none when it lies more
// than kGuideRangeCents from every course's pitch, or is not a frequency.
std::optional<Guidance> guideFrequency(double frequency);

// The course's pitch in equal temperament (A4 = 440 Hz): the tuning fork's
// rounded frequency taken to its nearest semitone.
double equalTemperedPitch(const sound::Course& course);

}  // namespace tuner
