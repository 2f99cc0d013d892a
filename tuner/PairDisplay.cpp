#include "tuner/PairDisplay.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "platform/core/Bundle.h"
#include "sound/Courses.h"
#include "tuner/OutletUpdates.h"
#include "tuner/SignedTenths.h"
#include "tuner/TuningGuide.h"

namespace tuner {
namespace {

// Beats a second between two strings `spread` cents apart around `centre` hertz.
double beatsPerSecond(double centre, double spread) {
    return centre * (std::exp2(spread / 2400.0) - std::exp2(-spread / 2400.0));
}

}  // namespace

PairDisplay::PairDisplay(const ScreenOutlets& outlets) : outlets_(outlets) {}

PairDisplay::Texts PairDisplay::textsInLanguageInUse() {
    const auto bundle = platform::Bundle::mainBundle();
    const auto text = [&bundle](const char* key, const char* english) {
        return bundle->localizedString(key, english, "");
    };
    return {text("GuideStrings", "Strings"),
            text("GuideCentsApart", "cents apart"),
            text("GuideBeatsPerSecond", "beat/s"),
            text("GuideInUnison", "in unison"),
            text("GuideWhichIsHigher", "Beats cannot tell which string is higher: pluck one alone to hear it."),
            text("GuideOctaveString", "Octave string"),
            text("GuideCents", "cents"),
            bundle->decimalSeparator()};
}

void PairDisplay::show(const guide::PairReading& pair) {
    const sound::Course* course = nullptr;
    for (const sound::Course& each : sound::kCourses) {
        if (each.number == pair.course) course = &each;
    }
    if (course && course->octaveString && pair.octave) {
        showOctave(*course, *pair.octave);
    } else if (course && !course->octaveString && pair.spread) {
        showSpread(*course, *pair.spread, pair.centre);
    } else {
        clear();
    }
}

void PairDisplay::clear() {
    setText(outlets_.guidePair, "");
    setText(outlets_.guidePairHint, "");
}

void PairDisplay::showSpread(const sound::Course& course, double spread, double centre) {
    char line[160];
    const auto [first, second] = course.strings;
    if (guide::inUnison(spread)) {
        std::snprintf(line, sizeof line, "%s %d · %d %s", texts_.strings.c_str(), first, second,
                      texts_.unison.c_str());
        setText(outlets_.guidePair, line);
        setText(outlets_.guidePairHint, "");
        return;
    }
    char apart[16];
    char beats[16];
    const std::string_view cents = tenths(spread, texts_.decimalSeparator, apart);
    const std::string_view rate = tenths(beatsPerSecond(centre, spread), texts_.decimalSeparator, beats);
    std::snprintf(line, sizeof line, "%s %d · %d: %.*s %s · %.*s %s", texts_.strings.c_str(), first, second,
                  static_cast<int>(cents.size()), cents.data(), texts_.apart.c_str(), static_cast<int>(rate.size()),
                  rate.data(), texts_.beats.c_str());
    setText(outlets_.guidePair, line);
    setText(outlets_.guidePairHint, texts_.whichIsHigher);
}

void PairDisplay::showOctave(const sound::Course& course, double octave) {
    char tenthsOut[16];
    const std::string_view offset = signedTenths(octave, texts_.decimalSeparator, tenthsOut);
    const std::string_view way = directionSymbol(directionOf(octave));
    char line[128];
    std::snprintf(line, sizeof line, "%s %d: %.*s %s %.*s", texts_.octaveString.c_str(), course.strings[1],
                  static_cast<int>(offset.size()), offset.data(), texts_.cents.c_str(), static_cast<int>(way.size()),
                  way.data());
    setText(outlets_.guidePair, line);
    setText(outlets_.guidePairHint, "");
}

}  // namespace tuner
