#pragma once
// What the guide is told of the instrument by its owner: each course's number
// and pitch, and whether its second string sounds an octave above the first.
// The guide reads the two strings of whichever course a pluck lies nearest
// to, or of the course the user chose.

#include <optional>
#include <span>

namespace guide {

struct CoursePitch {
    int number;         // 1 to 5, from the highest-sounding side
    double hertz;       // the course's pitch: its lower string's
    bool octaveString;  // its second string sounds at twice that
};

// The course of `courses` whose pitch lies nearest `hertz` within `cents`;
// none beyond that or when `hertz` is not a frequency.
std::optional<CoursePitch> nearestCourse(std::span<const CoursePitch> courses, double hertz, double cents);

// Cents from `reference` to `hertz`.
double centsBetween(double hertz, double reference);

}  // namespace guide
