#pragma once
// The five windows a measured frequency is matched against, one per open
// pitch of the five-course instrument: the equal-tempered pitch (A4 = 440 Hz)
// plus and minus 5 cents, written to three decimals. Both bounds belong to
// the window; the windows are tried in table order.

#include <array>
#include <string_view>

#include "sound/Courses.h"

namespace tuner {

struct MatchWindow {
    double lower;                    // Hz
    double upper;                    // Hz
    std::string_view note;           // shown as the note name, e.g. "A4"
    int stringIndex;                 // the on-screen string that lights up
    std::string_view frequencyText;  // shown instead of the measured value
    int pitchNumber;                 // the course, 1 to 5: which confirmation is due
};

constexpr MatchWindow matchWindow(double lower, double upper, const sound::Course& course, int stringIndex) {
    return {lower, upper, course.note, stringIndex, course.frequencyText, course.number};
}

inline constexpr std::array<MatchWindow, 5> kMatchTable{{
    matchWindow(657.354, 661.162, sound::kCourses[0], 1),
    matchWindow(438.731, 441.273, sound::kCourses[1], 2),
    matchWindow(328.677, 330.581, sound::kCourses[2], 3),
    matchWindow(521.742, 524.765, sound::kCourses[3], 5),
    matchWindow(390.865, 393.129, sound::kCourses[4], 6),
}};

// The first window holding `frequency`; null when none does.
const MatchWindow* matchFrequency(double frequency);

}  // namespace tuner
