#pragma once
// The tuning guide: which course a sounding string is nearest to, how many
// cents it lies from that course's pitch, and which way to turn the peg. It
// stands beside the match, which only lights up within the pitch's window:
// the guide names a course from as far as 100 cents away, which is further
// than any string drifts but short of the next course (the pitches lie 200
// to 400 cents apart). Beyond that it still guides: the nearest note of the
// chromatic scale with its offset, and the nearest course with the way and
// the distance to it, so that a new string, or one tuned for another tuning,
// is led home too. Used by the tuner screen and the commands.

#include <optional>
#include <span>
#include <string_view>

#include "guide/CoursePitch.h"
#include "sound/Courses.h"

namespace tuner {

// The guide names a course only this close to its pitch.
inline constexpr double kGuideRangeCents = 100.0;
// Within this of the pitch a string is in tune: the match windows' width.
inline constexpr double kInTuneCents = 5.0;

enum class TuningDirection { Up, Down, InTune };

// The way to turn the peg for a string `cents` from its pitch, the offset
// taken to a tenth, so that number and words agree.
TuningDirection directionOf(double cents);
// The symbol that points the way: "▲" up, "▼" down, "●" in tune.
std::string_view directionSymbol(TuningDirection direction);

struct Guidance {
    const sound::Course* course;  // the nearest course; the third's octave string counts as the first's E5
    double targetFrequency;       // hertz, equal-tempered with A4 at 440 Hz
    double cents;                 // signed, to a tenth: below the pitch is negative
    TuningDirection direction;    // from the offset to a tenth, so that number and words agree
};

// The guidance for a measured `frequency` in hertz, however far it lies from
// every course; none when it is not a frequency.
std::optional<Guidance> nearestCourse(double frequency);

// The same, but none beyond kGuideRangeCents of every course's pitch.
std::optional<Guidance> guideFrequency(double frequency);

// A course the user chose is guided to from this far either way.
inline constexpr double kChosenCourseRangeCents = 1200.0;

// The guidance to `course` (one of sound::kCourses), chosen by the user, for a measured `frequency`:
// the offset from its pitch however far, up to kChosenCourseRangeCents; none
// beyond that or when it is not a frequency.
std::optional<Guidance> guideToCourse(double frequency, const sound::Course& course);

// An offset in whole semitones and the cents left over, both with the
// offset's sign: -110 cents is -1 semitone and -10 cents.
struct SemitonesAndCents {
    int semitones;
    double cents;
};
SemitonesAndCents semitonesAndCents(double cents);

// Whether a guidance lies within kGuideRangeCents of its course.
bool isWithinRange(const Guidance& guidance);

// The nearest note of the equal-tempered chromatic scale (A4 = 440 Hz).
struct ChromaticNote {
    std::string_view name;  // "C", "C#" ... "B"
    int octave;             // scientific pitch notation: A4 is 440 Hz
    double cents;           // signed, to a tenth, from -50.0 to +50.0
};

// The note nearest `frequency`; none when it is not a frequency.
std::optional<ChromaticNote> chromaticNote(double frequency);

// The course's pitch in equal temperament (A4 = 440 Hz): the tuning fork's
// rounded frequency taken to its nearest semitone.
double equalTemperedPitch(const sound::Course& course);

// The courses as the guide's listening reads their strings: each one's
// equal-tempered pitch and whether its second string is an octave higher.
std::span<const guide::CoursePitch> guideCourses();

}  // namespace tuner
