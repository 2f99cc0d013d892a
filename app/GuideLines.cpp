#include "app/GuideLines.h"

#include <cmath>
#include <cstdio>

#include "app/JsonNumber.h"
#include "tuner/TuningGuide.h"

namespace app {
namespace {

double secondsHeard(const guide::GuideReading& reading, double sampleRate) {
    // To the microsecond: the hops end at fractions of the sample rate.
    return std::round(static_cast<double>(reading.heard) / sampleRate * 1e6) / 1e6;
}

// "F#4 +29.0"
std::string noteText(const tuner::ChromaticNote& note) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*s%d %+.1f", static_cast<int>(note.name.size()), note.name.data(), note.octave,
                  note.cents);
    return text;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string guideTextLine(const guide::GuideReading& reading, double sampleRate) {
    char line[160];
    const double seconds = secondsHeard(reading, sampleRate);
    const auto course = tuner::nearestCourse(reading.frequency);
    const auto note = tuner::chromaticNote(reading.frequency);
    if (!course || !note) {
        std::snprintf(line, sizeof line, "%9.3f s  %12s", seconds, "-");
        return line;
    }
    std::snprintf(line, sizeof line, "%9.3f s  %9.4f Hz  course %d %-2.*s %+7.1f cents  %s", seconds, reading.frequency,
                  course->course->number, static_cast<int>(course->course->note.size()), course->course->note.data(),
                  course->cents, noteText(*note).c_str());
    return line;
}

std::string guideJsonLine(const guide::GuideReading& reading, double sampleRate) {
    const std::string time = "{\"t\": " + jsonNumber(secondsHeard(reading, sampleRate));
    const auto course = tuner::nearestCourse(reading.frequency);
    const auto note = tuner::chromaticNote(reading.frequency);
    if (!course || !note) {
        return time + ", \"hz\": null, \"course\": null, \"target\": null, \"cents\": null, \"note\": null}";
    }
    return time + ", \"hz\": " + jsonNumber(reading.frequency) + ", \"course\": " +
           std::to_string(course->course->number) + ", \"target\": " + quoted(course->course->note) +
           ", \"cents\": " + jsonNumber(course->cents) + ", \"note\": " + quoted(noteText(*note)) + "}";
}

}  // namespace app
