#pragma once
// The instrument's five courses, from the highest-sounding side: the one table
// of their open pitches that the tuning fork, the tuner's match windows, the
// guide and the commands all read. The third course pairs E4 with an octave
// string at E5, which sounds as the first course's pitch.

#include <array>
#include <optional>
#include <string_view>

namespace sound {

struct Course {
    int number;                      // 1 to 5, from the highest-sounding side
    std::string_view note;           // "A4"
    std::string_view frequencyText;  // as the screen shows it, "440Hz"
    // Hertz, in single precision as the tuning fork sounds it: 659.3 sounds as
    // 659.2999877929688 Hz.
    float frequency;
    std::array<int, 2> strings;      // its two strings, {3, 4}
    bool octaveString = false;       // its second string sounds an octave above the first
};

inline constexpr std::array<Course, 5> kCourses{{
    {1, "E5", "659.3Hz", 659.3f, {1, 2}},
    {2, "A4", "440Hz", 440.0f, {3, 4}},
    {3, "E4", "329.6Hz", 329.6f, {5, 6}, true},
    {4, "C5", "523.2Hz", 523.2f, {7, 8}},
    {5, "G4", "392Hz", 392.0f, {9, 10}},
}};

// The course whose open pitch is `note` ("A4"), or null.
constexpr const Course* courseWithNote(std::string_view note) {
    for (const Course& course : kCourses) {
        if (course.note == note) return &course;
    }
    return nullptr;
}

}  // namespace sound
