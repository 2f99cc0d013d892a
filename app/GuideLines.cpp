#include "app/GuideLines.h"

#include <cmath>
#include <cstdio>
#include <optional>

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

std::optional<tuner::Guidance> guidanceOf(double frequency, const sound::Course* chosen) {
    return chosen ? tuner::guideToCourse(frequency, *chosen) : tuner::nearestCourse(frequency);
}

// "  strings 3.9 cents apart", "  strings in unison", "  octave string +20.0 cents", or nothing.
std::string pairText(const guide::PairReading& pair) {
    std::string text;
    char part[64];
    if (pair.spread) {
        if (guide::inUnison(*pair.spread)) {
            text += "  strings in unison";
        } else {
            std::snprintf(part, sizeof part, "  strings %.1f cents apart", *pair.spread);
            text += part;
        }
    }
    if (pair.octave) {
        std::snprintf(part, sizeof part, "  octave string %+.1f cents", *pair.octave);
        text += part;
    }
    return text;
}

std::string jsonOrNull(const std::optional<double>& value) { return value ? jsonNumber(*value) : "null"; }

}  // namespace

std::string guideTextLine(const guide::GuideReading& reading, double sampleRate, const sound::Course* chosen) {
    char line[160];
    const double seconds = secondsHeard(reading, sampleRate);
    const double frequency = reading.needleFrequency();
    const auto course = guidanceOf(frequency, chosen);
    const auto note = tuner::chromaticNote(frequency);
    if (!course || !note) {
        std::snprintf(line, sizeof line, "%9.3f s  %12s", seconds, "-");
        return line;
    }
    std::snprintf(line, sizeof line, "%9.3f s  %9.4f Hz  course %d %-2.*s %+7.1f cents  %s", seconds, frequency,
                  course->course->number, static_cast<int>(course->course->note.size()), course->course->note.data(),
                  course->cents, noteText(*note).c_str());
    return line + pairText(reading.pair);
}

std::string guideJsonLine(const guide::GuideReading& reading, double sampleRate, const sound::Course* chosen) {
    const std::string time = "{\"t\": " + jsonNumber(secondsHeard(reading, sampleRate));
    const double frequency = reading.needleFrequency();
    const auto course = guidanceOf(frequency, chosen);
    const auto note = tuner::chromaticNote(frequency);
    if (!course || !note) {
        return time +
               ", \"hz\": null, \"course\": null, \"target\": null, \"cents\": null, \"note\": null, "
               "\"spread\": null, \"octave\": null}";
    }
    return time + ", \"hz\": " + jsonNumber(frequency) + ", \"course\": " + std::to_string(course->course->number) +
           ", \"target\": " + quoted(course->course->note) + ", \"cents\": " + jsonNumber(course->cents) +
           ", \"note\": " + quoted(noteText(*note)) + ", \"spread\": " + jsonOrNull(reading.pair.spread) +
           ", \"octave\": " + jsonOrNull(reading.pair.octave) + "}";
}

}  // namespace app
